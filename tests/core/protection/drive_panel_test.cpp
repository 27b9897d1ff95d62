#include "core/protection/drive_panel.h"

#include <gtest/gtest.h>

#include "support/scripted_drives.h"
#include "support/scripted_services.h"

namespace twk {
namespace {

using platform::DriveType;

constexpr const char* kNoDevices = "No removable devices";

class DrivePanelTest : public ::testing::Test {
protected:
    // A removable drive that the library describes as "Stick <n>".
    void plug(const std::string& root, const std::string& description) {
        source.drives.emplace_back(root, DriveType::Removable);
        helper.drives.emplace_back(root, test::DriveInfoAnswer{1, description});
    }
    void plugSticks(int count) {
        for (int i = 0; i < count; ++i)
            plug("/media/s" + std::to_string(i), "Stick " + std::to_string(i));
    }
    void unplug(const std::string& root) {
        std::erase_if(source.drives, [&](const auto& drive) { return drive.first == root; });
    }
    // The roots on the rows, top to bottom.
    std::vector<std::string> shownRoots() const {
        std::vector<std::string> roots;
        for (const auto& row : panel.rows()) roots.push_back(row.root);
        return roots;
    }
    static std::vector<std::string> sticks(int first, int last) {
        std::vector<std::string> roots;
        for (int i = first; i <= last; ++i) roots.push_back("/media/s" + std::to_string(i));
        return roots;
    }

    test::ScriptedDriveSource source;
    test::ScriptedHelperLibrary helper;
    DrivePanel panel{source, helper, kNoDevices};
};

TEST_F(DrivePanelTest, NoDriveShowsTheCaptionOnRowZeroAndScrollingChangesNothing) {
    panel.show_drives();
    ASSERT_EQ(panel.rows().size(), 1u);
    EXPECT_EQ(panel.rows()[0].root, kNoDevices);
    EXPECT_EQ(panel.rows()[0].name, "");
    EXPECT_EQ(panel.LastIndex(), -1);
    panel.scrollDown();
    panel.scrollUp();
    EXPECT_EQ(panel.TopIndex(), 0);
    EXPECT_EQ(panel.rows().size(), 1u);
}

TEST_F(DrivePanelTest, OneDriveIsOneRowWithRootAndTheTextBeforeTheNul) {
    plug("/media/user/BACKUP", "SanDisk Cruzer Blade 14.3 GB (BACKUP)");
    panel.show_drives();
    ASSERT_EQ(panel.rows().size(), 1u);
    EXPECT_EQ(panel.rows()[0].root, "/media/user/BACKUP");
    EXPECT_EQ(panel.rows()[0].name, "SanDisk Cruzer Blade 14.3 GB (BACKUP)");
    ASSERT_EQ(panel.drives().size(), 1u);
    EXPECT_EQ(panel.drives()[0].Name, "SanDisk Cruzer Blade 14.3 GB (BACKUP)");
    EXPECT_EQ(panel.LastIndex(), 0);
}

TEST_F(DrivePanelTest, FiveDrivesFillTheRowsAndDoNotScroll) {
    plugSticks(5);
    panel.show_drives();
    EXPECT_EQ(shownRoots(), sticks(0, 4));
    panel.scrollDown();
    EXPECT_EQ(panel.TopIndex(), 0);
    EXPECT_EQ(shownRoots(), sticks(0, 4));
}

TEST_F(DrivePanelTest, SevenDrivesScrollOneEntryPerClickWithinTheList) {
    plugSticks(7);
    panel.show_drives();
    EXPECT_EQ(shownRoots(), sticks(0, 4));
    EXPECT_EQ(panel.rows()[4].name, "Stick 4");
    panel.scrollDown();
    EXPECT_EQ(shownRoots(), sticks(1, 5));
    panel.scrollDown();
    EXPECT_EQ(shownRoots(), sticks(2, 6));
    panel.scrollDown();
    EXPECT_EQ(panel.TopIndex(), 2);
    EXPECT_EQ(shownRoots(), sticks(2, 6));
    panel.scrollUp();
    EXPECT_EQ(shownRoots(), sticks(1, 5));
    panel.scrollUp();
    EXPECT_EQ(shownRoots(), sticks(0, 4));
    panel.scrollUp();
    EXPECT_EQ(panel.TopIndex(), 0);
    EXPECT_EQ(shownRoots(), sticks(0, 4));
}

TEST_F(DrivePanelTest, OnlyRemovableDrivesTheLibraryDescribesAreListed) {
    source.drives = {{"/", DriveType::Fixed},
                     {"/media/a", DriveType::Removable},
                     {"/media/dvd", DriveType::CdRom},
                     {"/media/b", DriveType::Removable},
                     {"/media/c", DriveType::Removable},
                     {"/media/d", DriveType::Removable},
                     {"/net", DriveType::Remote}};
    helper.drives = {{"/", {1, "System disk"}},     {"/media/a", {1, "Stick A"}},
                     {"/media/dvd", {1, "DVD"}},    {"/media/b", {0, "ignored"}},
                     {"/media/c", {-1, "ignored"}}, {"/media/d", {2, "ignored"}}};
    panel.show_drives();
    EXPECT_EQ(shownRoots(), std::vector<std::string>{"/media/a"});
    EXPECT_EQ(helper.describedRoots,
              (std::vector<std::string>{"/media/a", "/media/b", "/media/c", "/media/d"}))
        << "the library is asked about removable drives alone";
}

TEST_F(DrivePanelTest, AttachedDriveAppearsOnlyAtTheNextRebuild) {
    plugSticks(1);
    panel.show_drives();
    plug("/media/s1", "Stick 1");
    EXPECT_EQ(shownRoots(), sticks(0, 0));
    panel.scrollUp();
    EXPECT_EQ(shownRoots(), sticks(0, 1));
}

TEST_F(DrivePanelTest, RemovedDrivesBringTheListBackIntoView) {
    plugSticks(7);
    panel.show_drives();
    panel.scrollDown();
    panel.scrollDown();
    unplug("/media/s6");
    panel.show_drives();
    EXPECT_EQ(panel.TopIndex(), 1);
    EXPECT_EQ(shownRoots(), sticks(1, 5)) << "still five rows, the last entry on the fifth";
    for (int i = 2; i <= 5; ++i) unplug("/media/s" + std::to_string(i));
    panel.show_drives();
    EXPECT_EQ(panel.TopIndex(), 0);
    EXPECT_EQ(shownRoots(), sticks(0, 1));
    unplug("/media/s0");
    unplug("/media/s1");
    panel.show_drives();
    EXPECT_EQ(shownRoots(), std::vector<std::string>{kNoDevices});
}

}  // namespace
}  // namespace twk
