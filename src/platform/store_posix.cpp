#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/files.h"
#include "platform/reasons.h"
#include "platform/store.h"
#include "platform/strings.h"

namespace platform {
namespace {

constexpr unsigned kKeyFileMode = 0644;  // the guard service and every user read the store

bool makeParents(const std::string& filePath) {
    for (size_t slash = filePath.find('/', 1); slash != std::string::npos;
         slash = filePath.find('/', slash + 1)) {
        std::string dir = filePath.substr(0, slash);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// The writers' advisory lock, on a regular file of its own that is never reached through a
// link.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : fd_(::open(path.c_str(),
                     O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644)) {
        struct stat info {};
        if (fd_ >= 0 &&
            (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || ::flock(fd_, LOCK_EX) != 0)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

// A key file that is there but cannot be read is worth a reason; a missing one is an empty key.
FileRead readKeyFile(const std::string& path) {
    FileRead read = readRegularFile(path, kKeyFileLimit);
    if (!read.ok() && read.outcome != FileRead::Outcome::Missing)
        logReason(ReasonTopic::Settings, "the settings store " + path + " " + read.problem());
    return read;
}

bool notWritten(const std::string& file, const std::string& why) {
    logReason(ReasonTopic::Settings, "the settings store " + file + " was not written: " + why);
    return false;
}

}  // namespace

const RegValue* findRegValue(const RegValues& values, const std::string& name) {
    for (const auto& [existing, value] : values)
        if (equalsNoCase(existing, name)) return &value;
    return nullptr;
}

RegistryRoot::RegistryRoot(std::string configDir)
    : location_(std::move(configDir) + "/registry/HKEY_LOCAL_MACHINE") {}

void RegistryRoot::clearLeftovers(const std::string& keyPath) const {
    removeLeftoverTemporaries(keyFile(keyPath));
}

std::string RegistryRoot::keyFile(const std::string& keyPath) const {
    std::string relative;
    for (char c : keyPath) relative += (c == '\\') ? '/' : c;
    while (!relative.empty() && relative.back() == '/') relative.pop_back();
    return location_ + "/" + relative + ".reg";
}

RegValues RegistryRoot::readAll(const std::string& keyPath) const {
    const FileRead stored = readKeyFile(keyFile(keyPath));
    if (!stored.ok()) return {};
    return parseRegistryText(stored.bytes, keyPath);
}

std::optional<RegValue> RegistryRoot::read(const std::string& keyPath,
                                           const std::string& name) const {
    RegValues values = readAll(keyPath);
    if (const RegValue* value = findRegValue(values, name)) return *value;
    return std::nullopt;
}

bool RegistryRoot::write(const std::string& keyPath, const RegValues& values) const {
    return update(keyPath, [&](const RegValues&) { return values; });
}

bool RegistryRoot::update(const std::string& keyPath, const RegChange& change) const {
    const std::string file = keyFile(keyPath);
    if (!makeParents(file))
        return notWritten(
            file, "its folder could not be made (" + std::system_category().message(errno) + ")");
    FileLock lock(file + ".lock");
    if (!lock.held()) return notWritten(file, "its lock " + file + ".lock could not be taken");
    // A key file that exists but cannot be read whole or parsed is never replaced: a write must
    // not drop what it could not read.
    const FileRead stored = readKeyFile(file);
    if (!stored.ok() && stored.outcome != FileRead::Outcome::Missing)
        return notWritten(file, "it could not be read whole");
    const std::optional<RegValues> values = change(parseRegistryText(stored.bytes, keyPath));
    if (!values) return false;
    const std::optional<std::string> updated = updateRegistryText(stored.bytes, keyPath, *values);
    if (!updated) return notWritten(file, "it holds a line that cannot be parsed, kept as it is");
    std::string failure;
    if (!replaceFile(file, *updated, kKeyFileMode, &failure)) return notWritten(file, failure);
    return true;
}

}  // namespace platform
