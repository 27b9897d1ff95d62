#include <unistd.h>

#include <climits>

#include "platform/program_folder.h"

namespace platform {

std::string programFolder() {
    char path[PATH_MAX];
    // The kernel's link names the executable itself, whatever link it was started through.
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string exe(path, static_cast<size_t>(length));
    return exe.substr(0, exe.rfind('/'));
}

std::string installedProgramFolder() { return TWK_INSTALLED_PROGRAM_DIR; }

bool isInstalledProgramFolder(const std::string& folder) {
    return folder == installedProgramFolder();
}

std::string systemDataFolder() { return TWK_SYSTEM_DATA_DIR; }

}  // namespace platform
