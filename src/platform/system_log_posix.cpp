#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/reasons.h"

namespace platform {
namespace {

// The journal's own socket and its native protocol, which needs no library: one datagram of
// fields, each "NAME=value\n", or "NAME\n", the value's length as 64 bits little-endian, the
// value and "\n" for a value that may hold line breaks.
constexpr const char* kJournalSocket = "/run/systemd/journal/socket";
constexpr std::size_t kMaxReasonBytes = 16 * 1024;

void addField(std::string& datagram, const char* name, const std::string& value) {
    datagram += name;
    datagram += '\n';
    std::uint64_t length = value.size();
    for (int byte = 0; byte < 8; ++byte)
        datagram += static_cast<char>((length >> (8 * byte)) & 0xFF);
    datagram += value;
    datagram += '\n';
}

bool sendToJournal(const std::string& category, const std::string& line) {
    std::string datagram;
    addField(datagram, "MESSAGE", line);
    addField(datagram, "PRIORITY", "4");  // a warning
    addField(datagram, "SYSLOG_IDENTIFIER", "tarnwick");
    addField(datagram, "QT_CATEGORY", category);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, kJournalSocket, sizeof address.sun_path - 1);
    const ssize_t sent = ::sendto(fd, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == static_cast<ssize_t>(datagram.size());
}

}  // namespace

void writeSystemLog(const std::string& category, const std::string& reason) {
    const std::string line = category + ": " + reason.substr(0, kMaxReasonBytes);
    // Someone who started the program in a terminal reads it there.
    if (!::isatty(STDERR_FILENO) && sendToJournal(category, line)) return;
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace platform
