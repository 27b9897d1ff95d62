#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/own_mounts.h"

namespace twk::test {
namespace {

bool writeKernelFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::string failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

std::string enterOwnMountNamespace() {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (uid == 0) {
        if (::unshare(CLONE_NEWNS) != 0) return failure("no mount namespace");
    } else {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return failure("no user and mount namespace");
        if (!writeKernelFile("/proc/self/setgroups", "deny") ||
            !writeKernelFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeKernelFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return "the user namespace's ids could not be mapped";
    }
    // Mounts made here must not spread back to the machine's namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return failure("mounts could not be made private");
    return {};
}

bool mountAs(const std::string& source, const std::string& mountPoint) {
    std::error_code ignored;
    std::filesystem::create_directories(mountPoint, ignored);
    return ::mount(source.c_str(), mountPoint.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") ==
           0;
}

bool unmount(const std::string& mountPoint) { return ::umount2(mountPoint.c_str(), 0) == 0; }

// A loop device, where there is one: its change means nothing to the rest of the machine.
bool announceBlockDeviceChange() {
    std::vector<std::string> devices;
    std::error_code error;
    for (const auto& device : std::filesystem::directory_iterator("/sys/class/block", error)) {
        const std::string name = device.path().filename().string();
        devices.insert(name.rfind("loop", 0) == 0 ? devices.begin() : devices.end(),
                       device.path().string());
    }
    for (const std::string& device : devices)
        if (writeKernelFile(device + "/uevent", "change")) return true;
    return false;
}

}  // namespace twk::test
