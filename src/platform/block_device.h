#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/roots.h"

namespace platform {

// One line of <proc>/self/mounts, escapes decoded.
struct MountEntry {
    std::string source;      // e.g. "/dev/sdb1"
    std::string mountPoint;  // e.g. "/media/user/BACKUP"
};

// The block device behind a mounted root, as the kernel's sysfs shows it.
struct BlockDevice {
    std::string name;         // kernel name of the mounted device, e.g. "sdb1"
    std::string sysPath;      // its sysfs folder, links resolved
    std::string diskName;     // the whole disk, e.g. "sdb"; the same as name for a whole disk
    std::string diskSysPath;  // the disk's sysfs folder, links resolved
};

// Every mount in file order; empty when the table cannot be read.
std::vector<MountEntry> readMounts(const Roots& roots);
// The mount visible at root (the last one listed there), if root is a mount point. A trailing
// separator on root is ignored.
std::optional<MountEntry> mountAt(const Roots& roots, const std::string& root);
// True when the mount's source is a device node, the mark of a drive.
bool isDeviceMount(const MountEntry& mount);
// The block device mounted at root; nothing when root is not the mount point of a block device
// that sysfs knows.
std::optional<BlockDevice> blockDeviceAt(const Roots& roots, const std::string& root);
// True when the disk hangs off a USB bus somewhere up its sysfs device path.
bool onUsbBus(const Roots& roots, const BlockDevice& device);
// The first line of a sysfs attribute file with blanks trimmed; empty when missing.
std::string readAttribute(const std::string& folder, const std::string& name);

}  // namespace platform
