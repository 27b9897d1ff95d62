#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

#include "support/read_only.h"

namespace twk::test {
namespace {

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

constexpr std::uint32_t kFileOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// Clears or sets the file-override capabilities in the calling thread's effective set; they
// stay permitted, so they can be raised again.
bool setFileOverrides(bool on) {
    Capabilities caps;
    if (::syscall(SYS_capget, &caps.header, caps.data) != 0) return false;
    if (on)
        caps.data[0].effective |= caps.data[0].permitted & kFileOverrides;
    else
        caps.data[0].effective &= ~kFileOverrides;
    return ::syscall(SYS_capset, &caps.header, caps.data) == 0;
}

bool canOpen(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::string path) : path_(std::move(path)) {
    if (::geteuid() != 0) {
        active_ = ::chmod(path_.c_str(), 0555) == 0;
        return;
    }
    if (::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) != 0) return;
    mounted_ = true;
    active_ =
        ::mount(nullptr, path_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
    else if (active_)
        ::chmod(path_.c_str(), 0755);
}

Unreadable::Unreadable(std::string path) : path_(std::move(path)) {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) return;
    if (::chmod(path_.c_str(), 0) != 0) return;
    oldMode_ = info.st_mode & 07777;
    if (::geteuid() == 0) capabilitiesDropped_ = setFileOverrides(false);
    active_ = !canOpen(path_);
}

Unreadable::~Unreadable() {
    if (capabilitiesDropped_) setFileOverrides(true);
    if (oldMode_) ::chmod(path_.c_str(), *oldMode_);
}

}  // namespace twk::test
