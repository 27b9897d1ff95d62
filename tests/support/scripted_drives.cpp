#include "support/scripted_drives.h"

namespace twk::test {

std::vector<std::string> ScriptedDriveSource::roots() {
    std::vector<std::string> roots;
    for (const auto& drive : drives) roots.push_back(drive.first);
    return roots;
}

platform::DriveType ScriptedDriveSource::type(const std::string& root) {
    for (const auto& [known, type] : drives)
        if (known == root) return type;
    return platform::DriveType::NoRootDir;
}

}  // namespace twk::test
