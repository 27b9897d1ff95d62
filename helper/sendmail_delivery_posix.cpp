#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "helper/sendmail_delivery.h"

extern char** environ;

namespace twkd {
namespace {

constexpr size_t kPieceBytes = 256 * 1024;
constexpr auto kExitPoll = std::chrono::milliseconds(5);

// Starts the mail program with input as its standard input; -1 when it could not be started.
pid_t spawnMailProgram(const MailSettings& settings, const OutgoingMail& mail, int input) {
    // Explicit recipient and sender: nothing in the headers decides where the mail goes.
    std::vector<const char*> argv = {
        settings.mailProgram.c_str(), "-i",   "-f", settings.sender.c_str(), "--",
        mail.recipient.c_str(),       nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // The child starts with no signal blocked and SIGPIPE at its default, whatever this
    // thread has.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, pipe;
    sigemptyset(&none);
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipe);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (::posix_spawn(&pid, settings.mailProgram.c_str(), &actions, &attributes,
                      const_cast<char* const*>(argv.data()), environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The mail program as a child whose standard input is a pipe. This end keeps the pipe's read
// end as well: what the program has not read stays in the pipe after it has ended, so a program
// that ends well without taking the whole message is caught (and writing never raises SIGPIPE).
class MailProgram {
public:
    MailProgram(const MailSettings& settings, const OutgoingMail& mail) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return;
        unread_ = ends[0];
        input_ = ends[1];
        ::fcntl(input_, F_SETFL, O_NONBLOCK);
        pid_ = spawnMailProgram(settings, mail, unread_);
    }

    // A child still running here has failed: it is stopped before its input ends, so that it
    // never sends what it has got so far.
    ~MailProgram() {
        if (running()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        closeInput();
        if (unread_ >= 0) ::close(unread_);
    }
    MailProgram(const MailProgram&) = delete;
    MailProgram& operator=(const MailProgram&) = delete;

    bool started() const { return pid_ > 0; }

    // Writes all of bytes; false when the program has ended or has not taken anything for
    // timeout.
    bool write(const char* bytes, size_t size, std::chrono::seconds timeout) {
        auto silentUntil = std::chrono::steady_clock::now() + timeout;
        while (size > 0) {
            const ssize_t written = ::write(input_, bytes, size);
            if (written > 0) {
                bytes += written;
                size -= static_cast<size_t>(written);
                silentUntil = std::chrono::steady_clock::now() + timeout;
                continue;
            }
            if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
            if (!running() || std::chrono::steady_clock::now() >= silentUntil) return false;
            pollfd ready{input_, POLLOUT, 0};
            ::poll(&ready, 1, static_cast<int>(kExitPoll.count()));
        }
        return true;
    }

    // Ends the input and waits for the program's answer: true when it ended well and had read
    // the whole message.
    bool accepted(std::chrono::seconds timeout) {
        closeInput();
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (running()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(kExitPoll);
        }
        int unread = 0;
        return exitedWell_ && ::ioctl(unread_, FIONREAD, &unread) == 0 && unread == 0;
    }

private:
    // Collects the program's end once it has come.
    bool running() {
        if (pid_ <= 0) return false;
        int status = 0;
        const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR)) return true;
        exitedWell_ = ended == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        pid_ = -1;  // ended, or not ours to wait for any more
        return false;
    }

    void closeInput() {
        if (input_ >= 0) ::close(input_);
        input_ = -1;
    }

    int input_ = -1;
    int unread_ = -1;
    pid_t pid_ = -1;
    bool exitedWell_ = false;
};

}  // namespace

bool hasMailProgram() { return true; }

MailResult deliverBySendmail(const MailSettings& settings, const OutgoingMail& mail,
                             MimeMessage& message) {
    MailProgram program(settings, mail);
    if (!program.started()) return kMailNotDelivered;
    const std::chrono::seconds timeout(settings.timeoutSeconds);
    std::vector<char> piece(kPieceBytes);
    for (;;) {
        const std::optional<size_t> size = message.read(piece.data(), piece.size());
        if (!size) return kMailAttachmentUnreadable;
        if (*size == 0) break;
        if (!program.write(piece.data(), *size, timeout)) return kMailNotDelivered;
    }
    return program.accepted(timeout) ? kMailSent : kMailNotDelivered;
}

}  // namespace twkd
