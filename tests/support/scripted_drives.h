#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/protection/drive_panel.h"

namespace twk::test {

// A drive source answering from a table, in table order; unknown roots have NoRootDir.
class ScriptedDriveSource : public DriveSource {
public:
    std::vector<std::string> roots() override;
    platform::DriveType type(const std::string& root) override;

    std::vector<std::pair<std::string, platform::DriveType>> drives;
};

}  // namespace twk::test
