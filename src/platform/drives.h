#pragma once

#include <string>
#include <vector>

#include "platform/roots.h"

namespace platform {

// The platform's drive types, numbered as the system numbers them.
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6
};

// Roots of the present drives in order: on Linux the mount points of block devices listed in
// <proc>/self/mounts, in byte order, each once.
std::vector<std::string> driveRoots(const Roots& roots);
// The type of the drive at root: removable when its disk reports removable or sits on a USB
// bus, optical for sr* devices, fixed otherwise; NoRootDir for an unknown root.
DriveType driveType(const Roots& roots, const std::string& root);

}  // namespace platform
