#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string dirOf(const std::string& path) { return path.substr(0, path.rfind('/')); }
std::string baseOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Temporary files of a writer that was killed.
void removeLeftoverTemps(const std::string& file) {
    std::string prefix = baseOf(file) + ".tmp.";
    DIR* dir = ::opendir(dirOf(file).c_str());
    if (!dir) return;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.rfind(prefix, 0) == 0) ::unlink((dirOf(file) + "/" + name).c_str());
    }
    ::closedir(dir);
}

}  // namespace

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

bool replaceFile(const std::string& file, const std::string& content) {
    removeLeftoverTemps(file);
    std::string temp = file + ".tmp.XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = writeAll(fd, content) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    int dirFd = ::open(dirOf(file).c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::string documentsFolder() {
    const char* home = std::getenv("HOME");
    std::string base = home ? home : "";
    if (!base.empty() && dirExists(base + "/Documents")) return base + "/Documents";
    return base;
}

}  // namespace platform
