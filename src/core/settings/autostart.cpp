#include "core/settings/autostart.h"

#ifndef _WIN32

#include "platform/files.h"
#include "platform/roots.h"

namespace twk {
namespace {

constexpr const char* kProgramName = "tarnwick";

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// One Exec argument, quoted as the desktop entry format asks: inside double quotes a backslash
// goes before '"', '`', '$' and '\', and '%' doubles; then the string-value rule doubles every
// backslash once more.
std::string execArgument(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

}  // namespace

std::optional<std::string> autostartEntry(const std::string& programFolder) {
    for (char c : programFolder)
        if (isControl(c)) return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tarnwick\n"
           "Comment=Tray program of the USB storage protection\n"
           "Exec=" +
           execArgument(platform::joinPath(programFolder, kProgramName)) +
           "\n"
           "Icon=org.brindle.tarnwick\n"
           "Terminal=false\n";
}

bool keepAutostartEntry(const std::string& folder, bool on, const std::string& programFolder) {
    const std::string file = platform::joinPath(folder, kAutostartEntryName);
    if (!on) return !platform::fileExists(file) || platform::removeFile(file);
    const std::optional<std::string> entry = autostartEntry(programFolder);
    // Every user's session reads the entry, whatever the umask of the saving process.
    return entry && platform::makeDir(folder) && platform::replaceFile(file, *entry, 0644);
}

}  // namespace twk

#endif
