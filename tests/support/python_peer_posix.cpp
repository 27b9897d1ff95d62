#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/python_peer.h"

extern char** environ;

namespace twk::test {
namespace {

constexpr int kStartMilliseconds = 20000;

// Reads the first line the peer prints: its port.
std::string readFirstLine(int fd) {
    std::string line;
    pollfd wait{fd, POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&wait, 1, kStartMilliseconds) > 0) {
        char chunk[64];
        ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count <= 0) break;
        line.append(chunk, static_cast<size_t>(count));
    }
    return line.substr(0, line.find('\n'));
}

}  // namespace

void PythonPeer::start(const std::vector<std::string>& command) {
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
        error_ = "no pipe";
        return;
    }
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        error_ = "no pipe";
        return;
    }
    std::vector<std::string> args = command;
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    pid_t pid = -1;
    int spawned = ::posix_spawn(&pid, command[0].c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    channel_ = input[1];
    if (spawned != 0) {
        ::close(output[0]);
        error_ = "cannot start " + command[0];
        return;
    }
    process_ = pid;
    std::string line = readFirstLine(output[0]);
    ::close(output[0]);
    port_ = std::atoi(line.c_str());
    if (port_ <= 0) stop();
}

void PythonPeer::stop() {
    if (channel_ >= 0) ::close(static_cast<int>(channel_));
    channel_ = -1;
    if (process_ > 0) {
        const auto pid = static_cast<pid_t>(process_);
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
    process_ = -1;
    port_ = 0;
}

std::string PythonPeer::hostPath(const std::string& path) { return path; }

}  // namespace twk::test
