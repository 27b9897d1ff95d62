#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "helper/sendmail_delivery.h"

extern char** environ;

namespace twkd {
namespace {

constexpr size_t kPieceBytes = 256 * 1024;
constexpr auto kExitPoll = std::chrono::milliseconds(5);
// What the program says on its standard error is kept up to here for the reason of a failure.
constexpr std::size_t kKeptErrorBytes = 2048;

// Starts the mail program with input as its standard input and errors as its standard error;
// -1 when it could not be started, with the system's error number in error.
pid_t spawnMailProgram(const MailSettings& settings, const OutgoingMail& mail, int input,
                       int errors, int& error) {
    // Explicit recipient and sender: nothing in the headers decides where the mail goes.
    std::vector<const char*> argv = {
        settings.mailProgram.c_str(), "-i",   "-f", settings.sender.c_str(), "--",
        mail.recipient.c_str(),       nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
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
    error = ::posix_spawn(&pid, settings.mailProgram.c_str(), &actions, &attributes,
                          const_cast<char* const*>(argv.data()), environ);
    if (error != 0) pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The mail program as a child whose standard input is a pipe. This end keeps the pipe's read
// end as well: what the program has not read stays in the pipe after it has ended, so a program
// that ends well without taking the whole message is caught (and writing never raises SIGPIPE).
class MailProgram {
public:
    MailProgram(const MailSettings& settings, const OutgoingMail& mail)
        : program_(settings.mailProgram) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            startError_ = errno;
            return;
        }
        unread_ = ends[0];
        input_ = ends[1];
        ::fcntl(input_, F_SETFL, O_NONBLOCK);
        int errorEnds[2];
        if (::pipe2(errorEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
            startError_ = errno;
            return;
        }
        errors_ = errorEnds[0];
        pid_ = spawnMailProgram(settings, mail, unread_, errorEnds[1], startError_);
        ::close(errorEnds[1]);
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
        if (errors_ >= 0) ::close(errors_);
    }
    MailProgram(const MailProgram&) = delete;
    MailProgram& operator=(const MailProgram&) = delete;

    bool started() const { return pid_ > 0; }
    // The system's words for why it did not start.
    std::string startFailure() const { return std::strerror(startError_); }

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
            if (written < 0 && errno != EAGAIN && errno != EINTR)
                return fail(std::string("could not be given the message (") + std::strerror(errno) +
                            ")");
            keepErrors();
            if (!running()) return fail(end_ + " before it had taken the whole message");
            if (std::chrono::steady_clock::now() >= silentUntil)
                return fail("took nothing for " + std::to_string(timeout.count()) + " seconds");
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
            keepErrors();
            if (std::chrono::steady_clock::now() >= deadline)
                return fail("did not end within " + std::to_string(timeout.count()) +
                            " seconds of the message's end");
            std::this_thread::sleep_for(kExitPoll);
        }
        keepErrors();
        if (!exitedWell_) return fail(end_);
        int unread = 0;
        if (::ioctl(unread_, FIONREAD, &unread) != 0 || unread != 0)
            return fail("ended well without reading the whole message");
        return true;
    }

    // Why the last step failed, with what the program said on its standard error.
    std::string failure() const {
        std::string text = "the mail program " + program_ + " " + failure_;
        std::string said = errorText_;
        while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
        if (!said.empty()) text += "; it said: " + said;
        return text;
    }

private:
    // Collects the program's end once it has come.
    bool running() {
        if (pid_ <= 0) return false;
        int status = 0;
        const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR)) return true;
        exitedWell_ = ended == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended != pid_)
            end_ = "could not be waited for";
        else if (WIFEXITED(status))
            end_ = "ended with status " + std::to_string(WEXITSTATUS(status));
        else
            end_ = "was ended by signal " + std::to_string(WTERMSIG(status));
        pid_ = -1;  // ended, or not ours to wait for any more
        return false;
    }

    // Takes what the program has written to its standard error so far, keeping the first bytes.
    void keepErrors() {
        char chunk[1024];
        for (;;) {
            const ssize_t got = ::read(errors_, chunk, sizeof chunk);
            if (got <= 0) return;
            const std::size_t room = kKeptErrorBytes - std::min(kKeptErrorBytes, errorText_.size());
            errorText_.append(chunk, std::min(room, static_cast<std::size_t>(got)));
        }
    }

    bool fail(std::string why) {
        failure_ = std::move(why);
        return false;
    }

    void closeInput() {
        if (input_ >= 0) ::close(input_);
        input_ = -1;
    }

    std::string program_;
    int input_ = -1;
    int unread_ = -1;
    int errors_ = -1;
    int startError_ = 0;
    pid_t pid_ = -1;
    bool exitedWell_ = false;
    std::string end_;        // how the program ended
    std::string failure_;    // what went wrong
    std::string errorText_;  // the first of what it wrote to its standard error
};

}  // namespace

bool hasMailProgram() { return true; }

MailResult deliverBySendmail(const MailSettings& settings, const OutgoingMail& mail,
                             MimeMessage& message) {
    MailProgram program(settings, mail);
    if (!program.started())
        return failedBecause(kMailNotDelivered, "the mail program " + settings.mailProgram +
                                                    " could not be started (" +
                                                    program.startFailure() + ")");
    const std::chrono::seconds timeout(settings.timeoutSeconds);
    std::vector<char> piece(kPieceBytes);
    for (;;) {
        const std::optional<size_t> size = message.read(piece.data(), piece.size());
        if (!size)
            return failedBecause(
                kMailAttachmentUnreadable,
                "the attachment " + mail.attachment + " could not be read while it was sent");
        if (*size == 0) break;
        if (!program.write(piece.data(), *size, timeout))
            return failedBecause(kMailNotDelivered, program.failure());
    }
    if (!program.accepted(timeout)) return failedBecause(kMailNotDelivered, program.failure());
    return kMailSent;
}

}  // namespace twkd
