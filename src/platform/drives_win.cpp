#include <windows.h>

#include "platform/drives.h"

namespace platform {

std::vector<std::string> driveRoots(const Roots&) {
    std::vector<std::string> found;
    const DWORD present = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (present & (DWORD{1} << letter))
            found.push_back(std::string(1, static_cast<char>('A' + letter)) + ":\\");
    }
    return found;
}

DriveType driveType(const Roots&, const std::string& root) {
    const UINT type = ::GetDriveTypeA(root.c_str());
    if (type > static_cast<UINT>(DriveType::RamDisk)) return DriveType::Unknown;
    return static_cast<DriveType>(type);
}

}  // namespace platform
