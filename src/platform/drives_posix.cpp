#include <map>

#include "platform/block_device.h"
#include "platform/drives.h"

namespace platform {

std::vector<std::string> driveRoots(const Roots& roots) {
    // The mount listed last at a point is the one visible there; the map keeps byte order.
    std::map<std::string, bool> visible;
    for (const auto& mount : readMounts(roots)) visible[mount.mountPoint] = isDeviceMount(mount);
    std::vector<std::string> found;
    for (const auto& [mountPoint, isDrive] : visible)
        if (isDrive) found.push_back(mountPoint);
    return found;
}

DriveType driveType(const Roots& roots, const std::string& root) {
    auto mount = mountAt(roots, root);
    if (!mount || !isDeviceMount(*mount)) return DriveType::NoRootDir;
    auto device = blockDeviceAt(roots, root);
    if (!device) return DriveType::Fixed;
    if (device->diskName.rfind("sr", 0) == 0) return DriveType::CdRom;
    if (readAttribute(device->diskSysPath, "removable") == "1" || onUsbBus(roots, *device))
        return DriveType::Removable;
    return DriveType::Fixed;
}

}  // namespace platform
