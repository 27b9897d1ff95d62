#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <system_error>

#include "platform/files.h"

namespace platform {
namespace {

constexpr int kNoDescriptor = -1;
constexpr int kNameAttempts = 100;

// Closes a descriptor on every path.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool isMissing(int error) { return error == ENOENT || error == ENOTDIR; }

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& folder) {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

// What is at a replacement's target: nothing, a link, or a regular file with its permission
// bits. A folder, device, pipe or socket is never replaced.
struct TargetKind {
    bool replaceable = true;
    std::optional<unsigned> mode;
};

TargetKind targetKind(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) return {};
    if (S_ISREG(info.st_mode)) return {true, static_cast<unsigned>(info.st_mode & 07777)};
    return {S_ISLNK(info.st_mode), std::nullopt};
}

// A new temporary file for target, locked for as long as its writer lives: the lock tells
// a live writer's file from a killed one's.
int createTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = temporaryName(target);
        // O_EXCL with O_CREAT never follows a link and never opens an existing file.
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return kNoDescriptor;
        // Taken in the moment since creation by a clean-up, which removes it: another name.
        // Where the file system has no locks the file goes unlocked, and is never cleaned up.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            ::close(fd);
            continue;
        }
        return fd;
    }
    return kNoDescriptor;
}

constexpr const char* kKernelFolders[] = {"/dev/", "/proc/", "/sys/"};

// Whether folder is, or lies in, a folder of the kernel's own file systems, wherever the links
// on the way lead. Creating there would make device or kernel entries, never a report folder.
bool insideKernelFolder(const std::string& folder) {
    char* resolved = ::realpath(folder.c_str(), nullptr);
    if (!resolved) return false;  // a missing parent: the creation fails by itself
    const std::string within = std::string(resolved) + "/";
    std::free(resolved);
    return std::any_of(std::begin(kKernelFolders), std::end(kKernelFolders),
                       [&](const char* kernel) { return within.starts_with(kernel); });
}

}  // namespace

ErrorCause causeOf(int error) {
    return error == EACCES || error == EPERM ? ErrorCause::NoPermission : ErrorCause::Other;
}

bool dirExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    return fd.get() >= 0;
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

bool makeDir(const std::string& path, MakeDirFailure* failure) {
    if (dirExists(path)) return true;
    MakeDirFailure why = MakeDirFailure::Other;
    if (insideKernelFolder(folderOf(path)))
        why = MakeDirFailure::SystemFolder;
    else if (::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && dirExists(path)))
        return true;
    else if (errno == ENAMETOOLONG)
        why = MakeDirFailure::NameTooLong;
    if (failure) *failure = why;
    return false;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string documentsFolder() {
    const char* home = std::getenv("HOME");
    std::string base = home ? home : "";
    if (!base.empty() && dirExists(base + "/Documents")) return base + "/Documents";
    return base;
}

RegularFile::RegularFile(const std::string& path) : handle_(kNoDescriptor) {
    struct stat info {};
    // Opening a device or a pipe can block or act on the device: such paths are not opened.
    if (::stat(path.c_str(), &info) != 0) {
        status_ = failedRead(
            isMissing(errno) ? FileRead::Outcome::Missing : FileRead::Outcome::OpenFailed, errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        status_ = failedRead(FileRead::Outcome::NotRegular);
        return;
    }
    handle_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle_ < 0) {
        status_ = failedRead(
            isMissing(errno) ? FileRead::Outcome::Missing : FileRead::Outcome::OpenFailed, errno);
        return;
    }
    // The path may have been swapped between the two looks; the descriptor tells the truth.
    if (::fstat(static_cast<int>(handle_), &info) != 0)
        status_ = failedRead(FileRead::Outcome::ReadFailed, errno);
    else if (!S_ISREG(info.st_mode))
        status_ = failedRead(FileRead::Outcome::NotRegular);
    else
        status_.outcome = FileRead::Outcome::Read;
    size_ = static_cast<std::uint64_t>(info.st_size);
    identity_ = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool RegularFile::seek(std::uint64_t offset, int& error) {
    if (::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0) return true;
    error = errno;
    return false;
}

RegularFile::~RegularFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

long long RegularFile::read(char* data, std::size_t size, int& error) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle_), data, size);
        if (n >= 0) return static_cast<long long>(n);
        if (errno != EINTR) {
            error = errno;
            return -1LL;
        }
    }
}

void prefaultBuffer(char* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    const std::uintptr_t pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGE_SIZE));
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (address + pageSize - 1) & ~(pageSize - 1);
    const std::uintptr_t end = (address + size) & ~(pageSize - 1);
    // Only whole pages inside the buffer; older kernels refuse the advice, which is no matter.
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}

std::uint64_t usableMemoryBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    std::uint64_t usable = pages > 0 && pageSize > 0 ? static_cast<std::uint64_t>(pages) *
                                                           static_cast<std::uint64_t>(pageSize)
                                                     : 0;
    for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        rlimit limit{};
        if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            usable = usable == 0 ? limit.rlim_cur : std::min<std::uint64_t>(usable, limit.rlim_cur);
    }
    return usable;
}

void removeLeftoverTemporaries(const std::string& target) {
    const std::string folder = folderOf(target);
    const std::string prefix = temporaryPrefix(target.substr(target.rfind('/') + 1));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind(prefix, 0) != 0) continue;
        const std::string path = folder + "/" + name;
        const Descriptor fd(
            ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat info {};
        // A writer holds the lock on its file until it ends.
        if (fd.get() >= 0 && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

FileReplacement::FileReplacement(std::string target, std::optional<unsigned> mode)
    : target_(std::move(target)), handle_(kNoDescriptor) {
    const TargetKind kind = targetKind(target_);
    if (!kind.replaceable) {
        fail("a folder, device, pipe or socket is in its place");
        return;
    }
    removeLeftoverTemporaries(target_);
    if (!mode) mode = kind.mode;
    const int fd = createTemporary(target_, temp_);
    handle_ = fd;
    if (fd < 0 || (mode && ::fchmod(fd, *mode) != 0)) failWithSystemError();
}

bool FileReplacement::failWithSystemError() { return fail(std::system_category().message(errno)); }

bool FileReplacement::flushBuffer() {
    if (!failed_ && !writeAll(static_cast<int>(handle_), buffer_)) failWithSystemError();
    buffer_.clear();
    return !failed_;
}

bool FileReplacement::commit() {
    if (committed_ || !flushBuffer()) return false;
    const int fd = static_cast<int>(handle_);
    // Renamed while still open and locked, so no clean-up can take it for a killed writer's.
    if (::fsync(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0)
        return failWithSystemError();
    committed_ = true;
    ::close(fd);
    handle_ = kNoDescriptor;
    syncFolder(folderOf(target_));
    return true;
}

void FileReplacement::discard() {
    if (handle_ == kNoDescriptor) return;
    if (!committed_) ::unlink(temp_.c_str());
    ::close(static_cast<int>(handle_));
    handle_ = kNoDescriptor;
}

}  // namespace platform
