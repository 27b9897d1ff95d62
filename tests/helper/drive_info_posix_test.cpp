#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "helper/drive_description.h"
#include "support/fake_machine.h"

namespace twkd {
namespace {

using twk::test::FakeMachine;

constexpr size_t kBufferBytes = kDescriptionChars + 1;
constexpr char kGuard = '#';

// The caller's buffer, 255 spaces and a NUL, followed by guard bytes that must survive.
struct GuardedBuffer {
    std::vector<char> bytes = std::vector<char>(kBufferBytes + 64, kGuard);
    GuardedBuffer() {
        std::memset(bytes.data(), ' ', kDescriptionChars);
        bytes[kDescriptionChars] = '\0';
    }
    char* data() { return bytes.data(); }
    std::string text() const { return bytes.data(); }
    bool guardIntact() const {
        for (size_t i = kBufferBytes; i < bytes.size(); ++i)
            if (bytes[i] != kGuard) return false;
        return true;
    }
    bool untouched() const {
        return text() == std::string(kDescriptionChars, ' ') && guardIntact();
    }
};

class DriveInfoTest : public ::testing::Test {
protected:
    std::string describe(const std::string& root) {
        GuardedBuffer buffer;
        std::int16_t result = writeDriveInfo(machine.roots(), root.c_str(), buffer.data());
        EXPECT_TRUE(buffer.guardIntact());
        return result == 1 ? buffer.text() : "<" + std::to_string(result) + ">";
    }

    FakeMachine machine;
};

TEST_F(DriveInfoTest, DescribesVendorModelVolumeSizeAndLabel) {
    machine.addDisk(
        {"sdb", twk::test::kUsbDevicePath, true, "SanDisk ", "Cruzer Blade    ", "", "", 30031872});
    machine.addPartition("sdb", "sdb1", 27929688);
    machine.mount("/dev/sdb1", "/media/user/BACKUP");
    machine.label("sdb1", "BACKUP");
    EXPECT_EQ(describe("/media/user/BACKUP"), "SanDisk Cruzer Blade 14.3 GB (BACKUP)");
}

TEST_F(DriveInfoTest, DescribesEveryKindOfDisk) {
    machine.addDisk(
        {"sdc", twk::test::kUsbDevicePath, false, "WD", "Elements 25A2", "", "", 3907029168});
    machine.addPartition("sdc", "sdc1", 3907000000);
    machine.mount("/dev/sdc1", "/media/user/Archive");
    machine.label("sdc1", "My Archive/2024");
    machine.addDisk(
        {"mmcblk0", twk::test::kCardReaderDevicePath, true, "", "", "SD", "SC16G", 31116288});
    machine.addPartition("mmcblk0", "mmcblk0p1", 31114240);
    machine.mount("/dev/mmcblk0p1", "/media/user/CAMERA");
    machine.addDisk({"sda", twk::test::kSataDevicePath, false, "ATA", "ATA Samsung SSD 870", "", "",
                     976773168});
    machine.mount("/dev/sda", "/");
    machine.addDisk({"sr0", twk::test::kOpticalDevicePath, true, "", "", "", "", 0});
    machine.mount("/dev/sr0", "/media/user/DVD", "iso9660");

    EXPECT_EQ(describe("/media/user/Archive"), "WD Elements 25A2 2.0 TB (My Archive/2024)");
    EXPECT_EQ(describe("/media/user/CAMERA"), "SD card SC16G 15.9 GB");
    EXPECT_EQ(describe("/"), "ATA Samsung SSD 870 500.1 GB") << "no vendor twice";
    EXPECT_EQ(describe("/media/user/DVD"), "sr0") << "nothing known but the device itself";
}

TEST_F(DriveInfoTest, RootsThatAreNoBlockDeviceMountPointAnswerZeroAndLeaveTheBuffer) {
    machine.plugUsbStick("sdb", "/media/user/STICK");
    machine.mount("tmpfs", "/run", "tmpfs");
    machine.mount("/dev/sdz1", "/media/user/Unplugged");
    for (const char* root : {"/media/user/Other", "/run", "/media/user/Unplugged", ""}) {
        GuardedBuffer buffer;
        EXPECT_EQ(writeDriveInfo(machine.roots(), root, buffer.data()), 0) << root;
        EXPECT_TRUE(buffer.untouched()) << root;
    }
    GuardedBuffer buffer;
    EXPECT_EQ(writeDriveInfo(machine.roots(), nullptr, buffer.data()), 0);
    EXPECT_EQ(writeDriveInfo(machine.roots(), "/media/user/STICK", nullptr), 0);
    EXPECT_EQ(describe("/media/user/STICK"), "SanDisk Cruzer Blade 15.4 GB");
}

TEST_F(DriveInfoTest, LongTextsAreCutToTheBufferWithoutSplittingACharacter) {
    const std::string vendor(100, 'V');
    const std::string model(100, 'M');
    // Two-byte characters placed so that a plain cut at 255 bytes would split one.
    const std::string label = std::string(1, 'L') + [] {
        std::string text;
        for (int i = 0; i < 60; ++i) text += "\xC3\xA9";
        return text;
    }();
    machine.addDisk({"sdb", twk::test::kUsbDevicePath, true, vendor, model, "", "", 30031872});
    machine.mount("/dev/sdb", "/media/user/LONG");
    machine.label("sdb", label);

    std::string text = describe("/media/user/LONG");
    EXPECT_LE(text.size(), kDescriptionChars);
    EXPECT_GE(text.size(), kDescriptionChars - 1);
    EXPECT_EQ(text.rfind(vendor + " " + model + " 15.4 GB (L\xC3\xA9", 0), 0u);
    EXPECT_NE(static_cast<unsigned char>(text.back()), 0xC3) << "no half character at the end";
}

TEST_F(DriveInfoTest, EscapedAndControlCharactersInLabelsBecomeReadable) {
    machine.plugUsbStick("sdb", "/media/user/x");
    machine.label("sdb1", "MY STICK\n\\");
    EXPECT_EQ(describe("/media/user/x"), "SanDisk Cruzer Blade 15.4 GB (MY STICK \\)");
}

TEST(HumanSizeTest, CountsInThousandsWithOneDecimal) {
    EXPECT_EQ(humanSize(14'300'000'256ULL), "14.3 GB");
    EXPECT_EQ(humanSize(999'960'000ULL), "1.0 GB");
    EXPECT_EQ(humanSize(999'940'000ULL), "999.9 MB");
    EXPECT_EQ(humanSize(512), "0.5 kB");
    EXPECT_EQ(humanSize(2'000'398'934'016ULL), "2.0 TB");
    EXPECT_EQ(humanSize(UINT64_MAX), "18.4 EB");
}

}  // namespace
}  // namespace twkd
