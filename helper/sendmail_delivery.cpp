#include "helper/sendmail_delivery.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace twkd {
namespace {

constexpr size_t kPieceBytes = 256 * 1024;
constexpr auto kExitPoll = std::chrono::milliseconds(5);

// Starts the mail program with input as its standard input; -1 when it could not be started.
pid_t spawnMailProgram(const MailSettings& settings, const OutgoingMail& mail, int input) {
    // Explicit recipient and sender: nothing in the headers decides where the mail goes.
    std::vector<const char*> argv = {
        kSendmailProgram,       "-i",   "-f", settings.sender.c_str(), "--",
        mail.recipient.c_str(), nullptr};
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
    if (::posix_spawn(&pid, kSendmailProgram, &actions, &attributes,
                      const_cast<char* const*>(argv.data()), environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The mail program as a child whose standard input is one end of a socket pair: writing to a
// socket can refuse with an error instead of raising SIGPIPE in the whole program when the
// child has gone.
class MailProgram {
public:
    MailProgram(const MailSettings& settings, const OutgoingMail& mail) {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
        input_ = ends[0];
        pid_ = spawnMailProgram(settings, mail, ends[1]);
        ::close(ends[1]);
    }

    // A child still running here has failed: it is stopped before its input ends, so that it
    // never sends what it has got so far.
    ~MailProgram() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        closeInput();
    }
    MailProgram(const MailProgram&) = delete;
    MailProgram& operator=(const MailProgram&) = delete;

    bool started() const { return pid_ > 0; }

    // Writes all of bytes; false when the program has gone or has not taken anything for
    // timeoutMs.
    bool write(const char* bytes, size_t size, int timeoutMs) {
        while (size > 0) {
            const ssize_t sent = ::send(input_, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent > 0) {
                bytes += sent;
                size -= static_cast<size_t>(sent);
            } else if (errno == EAGAIN || errno == EINTR) {
                pollfd ready{input_, POLLOUT, 0};
                if (::poll(&ready, 1, timeoutMs) <= 0) return false;
            } else {
                return false;
            }
        }
        return true;
    }

    // Ends the input and waits for the program's answer: true when it took the message.
    bool accepted(std::chrono::seconds timeout) {
        closeInput();
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        for (;;) {
            const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
            if (ended == pid_) break;
            if (ended < 0 && errno != EINTR) {
                pid_ = -1;  // not ours to wait for any more
                return false;
            }
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(kExitPoll);
        }
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    void closeInput() {
        if (input_ >= 0) ::close(input_);
        input_ = -1;
    }

    int input_ = -1;
    pid_t pid_ = -1;
};

}  // namespace

MailResult deliverBySendmail(const MailSettings& settings, const OutgoingMail& mail,
                             MimeMessage& message) {
    MailProgram program(settings, mail);
    if (!program.started()) return kMailNotDelivered;
    const int timeoutMs = static_cast<int>(settings.timeoutSeconds * 1000);
    std::vector<char> piece(kPieceBytes);
    for (;;) {
        const std::optional<size_t> size = message.read(piece.data(), piece.size());
        if (!size) return kMailAttachmentUnreadable;
        if (*size == 0) break;
        if (!program.write(piece.data(), *size, timeoutMs)) return kMailNotDelivered;
    }
    return program.accepted(std::chrono::seconds(settings.timeoutSeconds)) ? kMailSent
                                                                           : kMailNotDelivered;
}

}  // namespace twkd
