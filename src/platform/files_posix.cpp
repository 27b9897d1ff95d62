#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {

bool dirExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::vector<std::string> listFiles(const std::string& dir, bool* ok) {
    std::vector<std::string> names;
    DIR* handle = ::opendir(dir.c_str());
    if (ok) *ok = handle != nullptr;
    if (!handle) return names;
    while (dirent* entry = ::readdir(handle)) {
        std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            regular = ::stat((dir + "/" + name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) names.push_back(std::move(name));
    }
    ::closedir(handle);
    std::sort(names.begin(), names.end());
    return names;
}

bool makeDir(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && dirExists(path));
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string documentsFolder() {
    const char* home = std::getenv("HOME");
    std::string base = home ? home : "";
    if (!base.empty() && dirExists(base + "/Documents")) return base + "/Documents";
    return base;
}

}  // namespace platform
