// Drive roots and types from the system, and the drive panel over them with the real helper
// library. The CI script maps drives of each type into the Wine prefix and names them in
// TARNWICK_TEST_DRIVES ("F=removable:STICK R=cdrom N=remote", a label after the colon).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

#include "core/mail/helper_library.h"
#include "core/protection/drive_panel.h"
#include "platform/drives.h"

namespace twk {
namespace {

using platform::DriveType;

struct MappedDrive {
    DriveType type;
    std::string label;
};

// Root ("F:\") -> type and label, as the environment names them; empty when nothing was mapped.
std::map<std::string, MappedDrive> mappedDrives() {
    static const std::map<std::string, DriveType> kTypes = {{"removable", DriveType::Removable},
                                                            {"fixed", DriveType::Fixed},
                                                            {"remote", DriveType::Remote},
                                                            {"cdrom", DriveType::CdRom},
                                                            {"ramdisk", DriveType::RamDisk}};
    std::map<std::string, MappedDrive> drives;
    const char* listed = std::getenv("TARNWICK_TEST_DRIVES");
    std::istringstream entries(listed ? listed : "");
    std::string entry;
    while (entries >> entry) {
        const size_t colon = entry.find(':');
        const std::string type = entry.substr(2, colon == std::string::npos ? colon : colon - 2);
        const std::string label = colon == std::string::npos ? "" : entry.substr(colon + 1);
        if (entry.find('=') == 1 && kTypes.count(type))
            drives[entry.substr(0, 1) + ":\\"] = {kTypes.at(type), label};
    }
    return drives;
}

TEST(DrivesTest, RootsAreEveryPresentLetterInOrderAndTheSystemDriveIsFixed) {
    const platform::Roots none;
    const std::vector<std::string> roots = platform::driveRoots(none);
    ASSERT_FALSE(roots.empty());
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    for (const std::string& root : roots) {
        ASSERT_EQ(root.size(), 3u) << root;
        EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z') << root;
        EXPECT_EQ(root.substr(1), ":\\");
    }
    EXPECT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
    EXPECT_EQ(platform::driveType(none, "C:\\"), DriveType::Fixed);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (std::find(roots.begin(), roots.end(), root) != roots.end()) continue;
        EXPECT_EQ(platform::driveType(none, root), DriveType::NoRootDir) << root;
    }
}

TEST(DrivesTest, MappedDrivesAreListedWithTheirTypes) {
    const auto mapped = mappedDrives();
    if (mapped.empty()) GTEST_SKIP() << "no drives mapped (scripts/test-windows.sh maps them)";
    const platform::Roots none;
    const std::vector<std::string> roots = platform::driveRoots(none);
    for (const auto& [root, drive] : mapped) {
        EXPECT_NE(std::find(roots.begin(), roots.end(), root), roots.end()) << root;
        EXPECT_EQ(platform::driveType(none, root), drive.type) << root;
    }
}

// Wine's storage query names no vendor or product, so its drives show their size and label.
TEST(DrivesTest, ThePanelListsOnlyRemovableDrivesAsTheLibraryDescribesThem) {
    const auto mapped = mappedDrives();
    if (mapped.empty()) GTEST_SKIP() << "no drives mapped (scripts/test-windows.sh maps them)";
    MachineDriveSource source;
    LoadedHelperLibrary library(TWK_PROGRAM_DIR);
    DrivePanel panel(source, library, "none");
    panel.show_drives();
    std::vector<std::string> expected;
    for (const auto& [root, drive] : mapped)
        if (drive.type == DriveType::Removable) expected.push_back(root);
    std::vector<std::string> listed;
    for (const DriveItem& drive : panel.drives()) {
        listed.push_back(drive.Root);
        const std::string label = mapped.count(drive.Root) ? mapped.at(drive.Root).label : "";
        EXPECT_TRUE(std::regex_match(drive.Name.c_str(),
                                     std::regex(R"((.+ )?\d+\.\d [kMGTPE]B \()" + label + R"(\))")))
            << drive.Name.c_str();
    }
    EXPECT_EQ(listed, expected);
}

}  // namespace
}  // namespace twk
