#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "support/http_server.h"

namespace twk::test {
namespace {

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int listeningSocket(int& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

int freeLocalPort() {
    int port = 0;
    ::close(listeningSocket(port));
    return port;
}

bool waitForPort(int port) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(port);
        bool open = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (open) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

HttpServer::HttpServer(const std::string& folder) : port_(freeLocalPort()) {
    const std::string port = std::to_string(port_);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execl("/usr/bin/python3", "python3", "-m", "http.server", port.c_str(), "--bind",
                "127.0.0.1", "--directory", folder.c_str(), nullptr);
        ::_exit(127);
    }
    running_ = pid_ > 0 && waitForPort(port_);
}

HttpServer::~HttpServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

std::string HttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

ScriptedHttpServer::ScriptedHttpServer(const std::string& folder)
    : peer_(TWK_SOURCE_DIR "/tests/support/scripted_http.py", {folder}) {}

std::string ScriptedHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(peer_.port()) + path;
}

SilentServer::SilentServer() : socket_(listeningSocket(port_)) {}

SilentServer::~SilentServer() { ::close(socket_); }

std::string SilentServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace twk::test
