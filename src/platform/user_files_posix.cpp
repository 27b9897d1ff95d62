#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/user_files.h"

namespace platform {
namespace {

bool isAbsolute(const char* path) { return path && path[0] == '/'; }

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        isAbsolute(found->pw_dir))
        return found->pw_dir;
    return {};
}

// A runtime folder as the base directory rules require it: the user's own, mode 0700. lstat: a
// link could be turned elsewhere by whoever owns it.
bool isOwnRuntimeFolder(const char* path) {
    struct stat info {};
    return isAbsolute(path) && ::lstat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

bool makeLevel(const std::string& path) {
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// Tarnwick's folder in the base directory named by variable, or in homeSubfolder of the home
// folder when variable is unset or relative: relative values are invalid and ignored, as the
// base directory rules say.
std::string baseDirectoryFolder(const char* variable, const char* homeSubfolder) {
    const char* base = std::getenv(variable);
    if (isAbsolute(base)) return std::string(base) + "/tarnwick";
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/" + homeSubfolder + "/tarnwick";
}

}  // namespace

std::string userFilesFolder() { return baseDirectoryFolder("XDG_CACHE_HOME", ".cache"); }

std::string userSettingsFolder() { return baseDirectoryFolder("XDG_CONFIG_HOME", ".config"); }

bool makePrivateFolder(const std::string& folder) {
    if (!isAbsolute(folder.c_str())) return false;
    // Missing parents get the base directory rules' 0700 as well.
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        if (!makeLevel(folder.substr(0, slash))) return false;
    if (!makeLevel(folder)) return false;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    // A folder of ours that was left open to others is closed before report data goes in.
    return (info.st_mode & 077) == 0 || ::chmod(folder.c_str(), 0700) == 0;
}

std::string instanceFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (isOwnRuntimeFolder(runtime)) return runtime;
    const std::string userFiles = userFilesFolder();
    if (userFiles.empty()) return {};
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string folder = userFiles + "/run-" + host;
    return makePrivateFolder(folder) ? folder : std::string();
}

}  // namespace platform
