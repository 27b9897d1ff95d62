#include <windows.h>

#include <optional>
#include <vector>

#include "platform/program_folder.h"
#include "platform/roots.h"
#include "platform/shell_folder_win.h"
#include "platform/store.h"
#include "platform/strings.h"

namespace platform {
namespace {

// Where the installer lists the program for Programs and Features.
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnwick";

// The path with every name in its long form, as it is written on the disk; the path itself when
// that cannot be told (it does not exist).
std::string longName(const std::string& path) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetLongPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return path;
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(length);
    }
}

}  // namespace

std::string programFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return ".";
        // A full buffer means the name was cut: ask again with more room.
        if (length < path.size()) {
            const std::string exe(path.data(), length);
            return exe.substr(0, exe.rfind('\\'));
        }
        path.resize(path.size() * 2);
    }
}

std::string installedProgramFolder() {
    const std::optional<RegValue> recorded =
        RegistryRoot("").read(kUninstallKey, "InstallLocation");
    return recorded && recorded->type == RegValue::Type::String ? recorded->text : std::string();
}

bool isInstalledProgramFolder(const std::string& folder) {
    const std::string installed = installedProgramFolder();
    return !installed.empty() && equalsNoCase(longName(folder), longName(installed));
}

std::string systemDataFolder() {
    const std::string machineData = shellFolder(CSIDL_COMMON_APPDATA);
    return machineData.empty() ? std::string()
                               : joinPath(joinPath(machineData, "Brindle"), "Tarnwick");
}

}  // namespace platform
