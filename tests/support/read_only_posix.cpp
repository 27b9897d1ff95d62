#include "support/read_only.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twk::test {

ReadOnlyFolder::ReadOnlyFolder(std::string path) : path_(std::move(path)) {
    if (::geteuid() != 0) {
        active_ = ::chmod(path_.c_str(), 0555) == 0;
        return;
    }
    if (::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) != 0) return;
    mounted_ = true;
    active_ = ::mount(nullptr, path_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                      nullptr) == 0;
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
    else if (active_)
        ::chmod(path_.c_str(), 0755);
}

}  // namespace twk::test
