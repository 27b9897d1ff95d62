#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace twk::test {

// A loopback test peer written in Python, run by Debian's /usr/bin/python3 (the python3 on PATH
// may be a private build without Debian's modules). The script prints the port it listens on
// as its first line of output and stops on SIGTERM or when its input closes, so it also ends
// with the test process.
class PythonPeer {
public:
    // script is a path; args follow it on the command line.
    PythonPeer(const std::string& script, const std::vector<std::string>& args);
    ~PythonPeer();
    PythonPeer(const PythonPeer&) = delete;
    PythonPeer& operator=(const PythonPeer&) = delete;

    bool running() const { return pid_ > 0; }
    // Why the peer did not start.
    const std::string& error() const { return error_; }
    int port() const { return port_; }

private:
    void start(const std::vector<std::string>& command);
    void stop();

    pid_t pid_ = -1;
    int port_ = 0;
    int stdinPipe_ = -1;
    std::string error_;
};

}  // namespace twk::test
