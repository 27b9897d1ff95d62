#include <gtest/gtest.h>

#include "core/protection/drive_panel.h"
#include "support/fake_machine.h"
#include "support/scripted_services.h"

namespace twk {
namespace {

constexpr const char* kNoDevices = "No removable devices";

// The machine's own drives through the platform layer, in a fixture tree.
TEST(DrivePanelOnMachineTest, ListsRemovableDrivesInByteOrderWhateverTheAttachOrder) {
    test::FakeMachine machine;
    machine.addDisk({"sda", test::kSataDevicePath, false, "ATA", "SSD", "", "", 1000000});
    machine.mount("/dev/sda", "/");
    machine.plugUsbStick("sdc", "/media/user/zeta");
    machine.addDisk({"sr0", test::kOpticalDevicePath, true, "", "DVD", "", "", 100});
    machine.mount("/dev/sr0", "/media/user/dvd");
    machine.plugUsbStick("sdb", "/media/user/Alpha");
    machine.plugUsbStick("sdd", "/media/user/alpha");

    MachineDriveSource source(machine.roots());
    EXPECT_EQ(list_drives(source).roots,
              (std::vector<std::string>{"/", "/media/user/Alpha", "/media/user/alpha",
                                        "/media/user/dvd", "/media/user/zeta"}));
    EXPECT_EQ(list_drives(source).last, 4);
    test::ScriptedHelperLibrary helper;
    for (const char* root :
         {"/", "/media/user/Alpha", "/media/user/alpha", "/media/user/dvd", "/media/user/zeta"})
        helper.drives.emplace_back(root, test::DriveInfoAnswer{1, root});
    DrivePanel panel(source, helper, kNoDevices);
    panel.show_drives();
    std::vector<std::string> roots;
    for (const auto& drive : panel.drives()) roots.push_back(drive.Root);
    EXPECT_EQ(roots, (std::vector<std::string>{"/media/user/Alpha", "/media/user/alpha",
                                               "/media/user/zeta"}));
}

}  // namespace
}  // namespace twk
