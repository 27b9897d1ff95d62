#include <optional>

#include "platform/autostart.h"
#include "platform/files.h"
#include "platform/roots.h"

namespace platform {
namespace {

// The entry's file name: the program's desktop id.
constexpr const char* kEntryName = "org.brindle.tarnwick.desktop";
constexpr const char* kProgramName = "tarnwick";

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// A desktop entry's string value: a backslash doubles.
std::string stringValue(const std::string& text) {
    std::string value;
    for (char c : text) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

// One Exec argument, quoted as the desktop entry format asks: inside double quotes a backslash
// goes before '"', '`', '$' and '\', and '%' doubles; then it is a string value.
std::string execArgument(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return stringValue(quoted);
}

// The entry that starts the program in programFolder; nothing for a folder whose path a desktop
// entry cannot hold.
std::optional<std::string> autostartEntry(const std::string& programFolder) {
    for (char c : programFolder)
        if (isControl(c)) return std::nullopt;
    const std::string program = joinPath(programFolder, kProgramName);
    // The entry outlives a removal of the package (only a purge takes it): TryExec makes every
    // session skip it once the program is gone.
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tarnwick\n"
           "Comment=Tray program of the USB storage protection\n"
           "TryExec=" +
           stringValue(program) +
           "\n"
           "Exec=" +
           execArgument(program) +
           "\n"
           "Icon=org.brindle.tarnwick\n"
           "Terminal=false\n";
}

}  // namespace

SessionAutostart::SessionAutostart(std::string configDir) : configDir_(std::move(configDir)) {}

bool SessionAutostart::keep(bool on, const std::string& programFolder) const {
    const std::string folder = joinPath(configDir_, "autostart");
    const std::string file = joinPath(folder, kEntryName);
    if (!on) return !fileExists(file) || removeFile(file);
    const std::optional<std::string> entry = autostartEntry(programFolder);
    // Every user's session reads the entry, whatever the umask of the saving process.
    return entry && makeDir(folder) && replaceFile(file, *entry, 0644);
}

}  // namespace platform
