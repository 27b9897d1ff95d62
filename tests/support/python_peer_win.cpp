// The peer as a Linux program started from a Windows test under Wine: Wine runs a Linux binary
// that CreateProcess names, but hands it none of the test's pipes, so the peer reports its port
// over a loopback connection that it also watches to know when to stop.
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, which must come first.
#include <windows.h>

#include <cstdlib>

#include "support/python_peer.h"

namespace twk::test {
namespace {

constexpr long kStartSeconds = 20;

bool startWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

// A socket listening on 127.0.0.1 at a free port.
SOCKET listenOnLoopback(int& port) {
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener == INVALID_SOCKET ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener != INVALID_SOCKET) ::closesocket(listener);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return listener;
}

bool readable(SOCKET socket) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{kStartSeconds, 0};
    return ::select(0, &set, nullptr, nullptr, &wait) == 1;
}

// The first line the peer sends: its port.
std::string readFirstLine(SOCKET socket) {
    std::string line;
    while (line.find('\n') == std::string::npos && readable(socket)) {
        char chunk[64];
        const int count = ::recv(socket, chunk, sizeof chunk, 0);
        if (count <= 0) break;
        line.append(chunk, static_cast<size_t>(count));
    }
    return line.substr(0, line.find('\n'));
}

std::string commandLine(const std::vector<std::string>& command) {
    std::string line;
    for (const std::string& word : command) line += (line.empty() ? "\"" : " \"") + word + "\"";
    return line;
}

}  // namespace

void PythonPeer::start(const std::vector<std::string>& command) {
    int lifelinePort = 0;
    SOCKET listener = startWinsock() ? listenOnLoopback(lifelinePort) : INVALID_SOCKET;
    if (listener == INVALID_SOCKET) {
        error_ = "cannot listen on 127.0.0.1";
        return;
    }
    std::vector<std::string> withLifeline = command;
    withLifeline.insert(withLifeline.end(), {"--lifeline", std::to_string(lifelinePort)});
    std::string line = commandLine(withLifeline);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        ::closesocket(listener);
        error_ = "cannot start " + command[0];
        return;
    }
    ::CloseHandle(process.hThread);
    process_ = reinterpret_cast<std::intptr_t>(process.hProcess);
    SOCKET peer = readable(listener) ? ::accept(listener, nullptr, nullptr) : INVALID_SOCKET;
    ::closesocket(listener);
    if (peer == INVALID_SOCKET) {
        stop();
        return;
    }
    channel_ = static_cast<std::intptr_t>(peer);
    port_ = std::atoi(readFirstLine(peer).c_str());
    if (port_ <= 0) stop();
}

void PythonPeer::stop() {
    // The peer stops once its lifeline closes.
    if (channel_ != -1) ::closesocket(static_cast<SOCKET>(channel_));
    channel_ = -1;
    if (process_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(process_));
    process_ = -1;
    port_ = 0;
}

std::string PythonPeer::hostPath(const std::string& path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (path.empty() || path[0] == '/' || !toUnix) return path;
    std::wstring wide(
        static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    char* unixPath = toUnix(wide.c_str());
    if (!unixPath) return path;
    std::string converted = unixPath;
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return converted;
}

}  // namespace twk::test
