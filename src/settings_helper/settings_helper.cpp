// tarnwick-settings: the privileged settings helper. pkexec starts it as root for an
// administrator who authenticated (polkit action org.brindle.tarnwick.change-settings); it reads
// one save request on standard input, in the form parseSaveRequest accepts and nothing else, and
// writes it into the system store with the autostart entry, as a save by root would.
// Exit status: 0 written; 1 the request was refused (nothing written); 2 the store could not be
// written (nothing written).
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "core/settings/main_op.h"
#include "core/settings/settings_save.h"
#include "platform/program_folder.h"
#include "platform/roots.h"

namespace {

constexpr int kWritten = 0;
constexpr int kRefused = 1;
constexpr int kNotWritten = 2;

// Room for twelve lines of the longest value with their verb and name.
const std::size_t kMaxRequestBytes = twk::kSettingCount * (twk::kMaxSavedValue + 64);

// Standard input up to its end; nothing when it holds more than a request can.
std::optional<std::string> readRequestText() {
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return text;
        text.append(chunk, static_cast<std::size_t>(n));
        if (text.size() > kMaxRequestBytes) return std::nullopt;
    }
}

}  // namespace

int main(int argc, char**) {
    if (argc != 1) {
        std::fputs(
            "tarnwick-settings takes no arguments; it reads a save request on standard "
            "input\n",
            stderr);
        return kRefused;
    }
    // Whatever the caller's mask: the store must stay readable by every user and the guard
    // service.
    ::umask(022);
    const std::optional<std::string> text = readRequestText();
    const std::optional<twk::SaveRequest> request =
        text ? twk::parseSaveRequest(*text) : std::nullopt;
    if (!request) {
        std::fputs("tarnwick-settings: the save request was refused\n", stderr);
        return kRefused;
    }
    const twk::SaveTarget target =
        twk::systemSaveTarget(platform::Roots::system(), platform::programFolder());
    if (!twk::applySave(target, *request)) {
        std::fputs("tarnwick-settings: the settings could not be written\n", stderr);
        return kNotWritten;
    }
    return kWritten;
}
