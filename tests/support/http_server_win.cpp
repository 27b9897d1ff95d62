#include <winsock2.h>
#include <ws2tcpip.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/http_server.h"

namespace twk::test {
namespace {

void startWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) throw std::runtime_error("cannot start Winsock");
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

SOCKET listeningSocket(int& port) {
    startWinsock();
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = loopback(0);
    if (s == INVALID_SOCKET ||
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, 16) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    int length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

// The request line's path, or empty when the request is not a GET.
std::string requestedPath(SOCKET client) {
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int got = ::recv(client, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        request.append(chunk, static_cast<size_t>(got));
    }
    std::istringstream line(request.substr(0, request.find("\r\n")));
    std::string method, path;
    line >> method >> path;
    return method == "GET" ? path : std::string();
}

std::string response(const std::string& folder, const std::string& path) {
    std::ifstream file;
    if (!path.empty() && path[0] == '/' && path.find("..") == std::string::npos)
        file.open(folder + path, std::ios::binary);
    if (!file) return "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    std::ostringstream body;
    body << file.rdbuf();
    return "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           std::to_string(body.str().size()) + "\r\nConnection: close\r\n\r\n" + body.str();
}

void sendAll(SOCKET client, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const int sent =
            ::send(client, data.data() + done, static_cast<int>(data.size() - done), 0);
        if (sent <= 0) return;
        done += static_cast<size_t>(sent);
    }
}

}  // namespace

// Answers one request per connection until the listening socket is closed.
class HttpServer::Thread {
public:
    Thread(std::string folder, int& port)
        : folder_(std::move(folder)),
          listener_(listeningSocket(port)),
          thread_([this] { serve(); }) {}
    ~Thread() {
        ::closesocket(listener_);  // ends the accept below
        thread_.join();
    }

private:
    void serve() {
        for (;;) {
            SOCKET client = ::accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            sendAll(client, response(folder_, requestedPath(client)));
            ::shutdown(client, SD_SEND);
            ::closesocket(client);
        }
    }

    std::string folder_;
    SOCKET listener_;
    std::thread thread_;
};

int freeLocalPort() {
    int port = 0;
    ::closesocket(listeningSocket(port));
    return port;
}

bool waitForPort(int port) {
    startWinsock();
    for (int attempt = 0; attempt < 100; ++attempt) {
        SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = loopback(port);
        const bool open = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::closesocket(s);
        if (open) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

HttpServer::HttpServer(const std::string& folder)
    : thread_(std::make_unique<Thread>(folder, port_)) {
    running_ = true;
}

HttpServer::~HttpServer() = default;

std::string HttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

SilentServer::SilentServer() : socket_(listeningSocket(port_)) {}

SilentServer::~SilentServer() { ::closesocket(static_cast<SOCKET>(socket_)); }

std::string SilentServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace twk::test
