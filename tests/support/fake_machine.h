#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/roots.h"
#include "support/temp_dir.h"

namespace twk::test {

// Where a disk hangs in sysfs (under devices/): on a USB bus, a SATA port, a card reader.
inline constexpr const char* kUsbDevicePath =
    "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
inline constexpr const char* kSataDevicePath =
    "pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";
inline constexpr const char* kOpticalDevicePath =
    "pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0";
inline constexpr const char* kCardReaderDevicePath =
    "pci0000:00/0000:00:1e.6/mmc_host/mmc0/mmc0:aaaa";

struct FakeDisk {
    std::string name;        // kernel name: "sdb", "mmcblk0", "sr0"
    std::string devicePath;  // one of the paths above
    bool removable = false;
    std::string vendor, model;       // disk attributes; an empty one is left out
    std::string cardType, cardName;  // memory-card attributes ("SD", "SC16G")
    std::uint64_t sectors = 0;       // 512-byte sectors
};

// A machine's /proc, /sys and /dev as small trees in a temporary folder, built the way the
// kernel and udev lay them out (class/block links into devices/, partitions inside their disk).
class FakeMachine {
public:
    FakeMachine();

    platform::Roots roots() const;

    void addDisk(const FakeDisk& disk);
    // A partition of a disk added before.
    void addPartition(const std::string& disk, const std::string& name, std::uint64_t sectors);
    // A line in self/mounts, the fields escaped as the kernel escapes them.
    void mount(const std::string& source, const std::string& mountPoint,
               const std::string& type = "vfat");
    // A by-label link to the device, the label escaped as udev escapes it.
    void label(const std::string& device, const std::string& label);

    // A 15.4 GB SanDisk USB stick (removable) with one partition name + "1"; each name gets its
    // own USB device.
    void addUsbStick(const std::string& name);
    // That stick with its partition mounted at mountPoint.
    void plugUsbStick(const std::string& name, const std::string& mountPoint);
    // The disk and its partitions gone from sysfs and /dev, as when it is pulled out; the mount
    // table keeps whatever was mounted from it.
    void pullOut(const std::string& disk);

private:
    std::string path(const std::string& relative) const { return dir_.path() + "/" + relative; }

    TempDir dir_;
    std::map<std::string, std::string> diskFolders_;              // name -> folder under sys/
    std::map<std::string, std::vector<std::string>> partitions_;  // disk -> partition names
};

}  // namespace twk::test
