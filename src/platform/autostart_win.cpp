#include <windows.h>

#include "platform/autostart.h"
#include "platform/roots.h"
#include "platform/store.h"

namespace platform {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kValueName = "Tarnwick";
constexpr const char* kProgramName = "tarnwick.exe";

// Absent when the key or the value already is.
bool removeValue(const std::string& keyPath) {
    HKEY key = nullptr;
    const LONG opened =
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const LONG removed = ::RegDeleteValueA(key, kValueName);
    ::RegCloseKey(key);
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}

}  // namespace

SessionAutostart::SessionAutostart(std::string configDir) : configDir_(std::move(configDir)) {}

bool SessionAutostart::keep(bool on, const std::string& programFolder) const {
    if (!on) return removeValue(configDir_.empty() ? kRunKey : configDir_ + "\\" + kRunKey);
    // Quoted, as the folder may hold blanks ("Program Files").
    const std::string command = "\"" + joinPath(programFolder, kProgramName) + "\"";
    return RegistryRoot(configDir_).write(kRunKey, {{kValueName, RegValue::string(command)}});
}

}  // namespace platform
