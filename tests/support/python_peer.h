#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace twk::test {

// A loopback test peer written in Python, run by Debian's /usr/bin/python3 (the python3 on PATH
// may be a private build without Debian's modules). The script prints the port it listens on
// as its first line of output and stops on SIGTERM or when its input closes, so it also ends
// with the test process. A Windows test under Wine starts it as a Linux program, which gets no
// pipes from Wine: there the script is given --lifeline PORT, connects to the test there, sends
// its port and stops when that connection closes.
class PythonPeer {
public:
    // script is a path; args follow it on the command line.
    PythonPeer(const std::string& script, const std::vector<std::string>& args);
    ~PythonPeer();
    PythonPeer(const PythonPeer&) = delete;
    PythonPeer& operator=(const PythonPeer&) = delete;

    bool running() const { return port_ > 0; }
    // Why the peer did not start.
    const std::string& error() const { return error_; }
    int port() const { return port_; }

    // path as the peer names it: a Linux path on both systems.
    static std::string hostPath(const std::string& path);

private:
    void start(const std::vector<std::string>& command);
    void stop();

    std::intptr_t process_ = -1;  // Linux: the peer's process id
    int port_ = 0;
    std::intptr_t channel_ = -1;  // Linux: the pipe to its input; Windows: the lifeline socket
    std::string error_;
};

}  // namespace twk::test
