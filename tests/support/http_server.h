#pragma once

#ifdef _WIN32
#include <cstdint>
#include <memory>
#else
#include <sys/types.h>
#endif

#include <string>

#ifndef _WIN32
#include "support/python_peer.h"
#endif

namespace twk::test {

// A free TCP port on 127.0.0.1 at the moment of asking.
int freeLocalPort();
// Waits until something accepts connections on 127.0.0.1:port; false after a few seconds.
bool waitForPort(int port);

// A web server serving a folder's files on 127.0.0.1, stopped at destruction: python3's
// http.server on Linux, a small server thread of this process on Windows.
class HttpServer {
public:
    explicit HttpServer(const std::string& folder);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool running() const { return running_; }
    std::string url(const std::string& path) const;

private:
    int port_ = 0;  // set while the server starts, so declared first
#ifdef _WIN32
    class Thread;
    std::unique_ptr<Thread> thread_;
#else
    pid_t pid_ = -1;
#endif
    bool running_ = false;
};

#ifndef _WIN32
// A server that misbehaves as the path asks (tests/support/scripted_http.py lists the routes):
// error statuses, redirect chains and loops, dropped and cut connections, endless bodies.
// Files are served from folder.
class ScriptedHttpServer {
public:
    explicit ScriptedHttpServer(const std::string& folder);

    bool running() const { return peer_.running(); }
    const std::string& error() const { return peer_.error(); }
    std::string url(const std::string& path) const;

private:
    PythonPeer peer_;
};
#endif

// A server that accepts connections and never answers.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    int port() const { return port_; }
    std::string url(const std::string& path) const;

private:
    int port_ = 0;  // set while the socket is made, so declared first
#ifdef _WIN32
    std::uintptr_t socket_;
#else
    int socket_ = -1;
#endif
};

}  // namespace twk::test
