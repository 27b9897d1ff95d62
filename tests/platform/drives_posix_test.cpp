#include <gtest/gtest.h>

#include <filesystem>

#include "platform/block_device.h"
#include "platform/drives.h"
#include "support/fake_machine.h"

namespace platform {
namespace {

using twk::test::FakeDisk;
using twk::test::FakeMachine;

// A machine with one drive of every kind the panel meets.
class DrivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.addDisk({"sda", twk::test::kSataDevicePath, false, "ATA", "Samsung SSD 870", "", "",
                         976773168});
        machine.addPartition("sda", "sda2", 975000000);
        machine.mount("/dev/sda2", "/");
        machine.mount("proc", "/proc", "proc");
        machine.mount("tmpfs", "/run", "tmpfs");
        machine.plugUsbStick("sdb", "/media/user/USB STICK");
        machine.addDisk({"sdc", std::string(twk::test::kUsbDevicePath) + "/hdd", false, "WD",
                         "Elements 25A2", "", "", 3907029168});
        machine.addPartition("sdc", "sdc1", 3907000000);
        machine.mount("/dev/sdc1", "/media/user/Archive");
        machine.addDisk(
            {"mmcblk0", twk::test::kCardReaderDevicePath, true, "", "", "SD", "SC16G", 31116288});
        machine.addPartition("mmcblk0", "mmcblk0p1", 31114240);
        machine.mount("/dev/mmcblk0p1", "/media/user/CAMERA");
        machine.addDisk({"sr0", twk::test::kOpticalDevicePath, true, "HL-DT-ST", "DVDRAM GUD0N", "",
                         "", 9180416});
        machine.mount("/dev/sr0", "/media/user/DVD", "iso9660");
    }

    FakeMachine machine;
    Roots roots = machine.roots();
};

TEST_F(DrivesTest, RootsAreDeviceMountPointsInByteOrderWithEscapesDecoded) {
    EXPECT_EQ(driveRoots(roots),
              (std::vector<std::string>{"/", "/media/user/Archive", "/media/user/CAMERA",
                                        "/media/user/DVD", "/media/user/USB STICK"}));
}

TEST_F(DrivesTest, EachRootOnceAndOnlyWhileADeviceIsVisibleThere) {
    machine.mount("/dev/sdc1", "/media/user/Archive");
    machine.mount("tmpfs", "/media/user/CAMERA", "tmpfs");
    EXPECT_EQ(driveRoots(roots),
              (std::vector<std::string>{"/", "/media/user/Archive", "/media/user/DVD",
                                        "/media/user/USB STICK"}));
    EXPECT_EQ(driveType(roots, "/media/user/CAMERA"), DriveType::NoRootDir);
}

TEST_F(DrivesTest, TypesComeFromSysfs) {
    EXPECT_EQ(driveType(roots, "/"), DriveType::Fixed);
    EXPECT_EQ(driveType(roots, "/media/user/USB STICK"), DriveType::Removable);
    EXPECT_EQ(driveType(roots, "/media/user/Archive"), DriveType::Removable)
        << "a USB hard disk reports removable 0 but sits on a USB bus";
    EXPECT_EQ(driveType(roots, "/media/user/CAMERA"), DriveType::Removable);
    EXPECT_EQ(driveType(roots, "/media/user/DVD"), DriveType::CdRom);
    EXPECT_EQ(driveType(roots, "/media/user/USB STICK/"), DriveType::Removable);
}

TEST_F(DrivesTest, UnknownRootsAndMountsOfNoDeviceHaveNoRootDir) {
    EXPECT_EQ(driveType(roots, "/media/user/Gone"), DriveType::NoRootDir);
    EXPECT_EQ(driveType(roots, "/proc"), DriveType::NoRootDir);
    EXPECT_EQ(driveType(roots, ""), DriveType::NoRootDir);
}

TEST_F(DrivesTest, PartitionsBelongToTheirDisk) {
    auto stick = blockDeviceAt(roots, "/media/user/USB STICK");
    ASSERT_TRUE(stick.has_value());
    EXPECT_EQ(stick->name, "sdb1");
    EXPECT_EQ(stick->diskName, "sdb");
    auto card = blockDeviceAt(roots, "/media/user/CAMERA");
    ASSERT_TRUE(card.has_value());
    EXPECT_EQ(card->diskName, "mmcblk0");
    auto dvd = blockDeviceAt(roots, "/media/user/DVD");
    ASSERT_TRUE(dvd.has_value());
    EXPECT_EQ(dvd->name, "sr0");
    EXPECT_EQ(dvd->diskName, "sr0");
}

TEST_F(DrivesTest, DeviceAliasLinksResolveToTheDevice) {
    std::filesystem::create_directories(roots.devDir + "/disk/by-uuid");
    std::filesystem::create_symlink("../../sdb1", roots.devDir + "/disk/by-uuid/1234-ABCD");
    machine.mount("/dev/disk/by-uuid/1234-ABCD", "/mnt/stick");
    EXPECT_EQ(driveType(roots, "/mnt/stick"), DriveType::Removable);
}

TEST(DrivesWithoutMountTable, HaveNoRoots) {
    Roots roots;
    roots.procDir = "/nonexistent-proc";
    EXPECT_TRUE(driveRoots(roots).empty());
    EXPECT_EQ(driveType(roots, "/"), DriveType::NoRootDir);
}

}  // namespace
}  // namespace platform
