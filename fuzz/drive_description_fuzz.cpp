// The helper library's drive description over a machine whose sysfs texts, mount table and
// volume label come from the input, laid out as the kernel and udev lay them out.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "helper/drive_description.h"
#include "platform/drives.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsbPath = "devices/pci0000:00/usb2/2-1/2-1:1.0/host6/6:0:0:0";
constexpr const char* kSataPath = "devices/pci0000:00/ata1/host0/0:0:0:0";

// A name that can stand as one path element.
std::string element(FuzzedDataProvider& input, const char* fallback) {
    std::string name = input.ConsumeRandomLengthString(24);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == '/' || c == 0; }),
               name.end());
    return name.empty() || name == "." || name == ".." ? fallback : name;
}

// Mount fields as the kernel writes them: blanks and backslashes as \ooo.
std::string mountField(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
            char code[8];
            std::snprintf(code, sizeof code, "\\%03o", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void link(const std::string& target, const std::string& at) {
    std::error_code ignored;
    fs::create_directories(fs::path(at).parent_path(), ignored);
    fs::create_symlink(target, at, ignored);
}

void attribute(FuzzedDataProvider& input, const std::string& folder, const char* name) {
    if (input.ConsumeBool())
        twk::fuzz::writeBytes(folder + "/" + name, input.ConsumeRandomLengthString(64));
}

struct Machine {
    platform::Roots roots;
    std::string mountPoint;
};

Machine buildMachine(FuzzedDataProvider& input) {
    twk::fuzz::clearScratch();
    const std::string root = twk::fuzz::scratchFolder();
    const std::string disk = element(input, "sdb");
    const bool partitioned = input.ConsumeBool();
    const std::string volume = partitioned ? disk + "1" : disk;
    const std::string block =
        std::string(input.ConsumeBool() ? kUsbPath : kSataPath) + "/block/" + disk;
    const std::string diskFolder = root + "/sys/" + block;
    const std::string volumeFolder = partitioned ? diskFolder + "/" + volume : diskFolder;

    const std::string device = fs::path(diskFolder).parent_path().parent_path().string();
    for (const char* name : {"vendor", "model", "type", "name"}) attribute(input, device, name);
    attribute(input, diskFolder, "removable");
    attribute(input, diskFolder, "size");
    link("../..", diskFolder + "/device");
    link("../../" + block, root + "/sys/class/block/" + disk);
    if (partitioned) {
        attribute(input, volumeFolder, "size");
        twk::fuzz::writeBytes(volumeFolder + "/partition", "1\n");
        link("../../" + block + "/" + volume, root + "/sys/class/block/" + volume);
    }
    twk::fuzz::writeBytes(root + "/dev/" + volume, "");
    if (input.ConsumeBool())
        link("../../" + volume, root + "/dev/disk/by-label/" + element(input, "LABEL"));

    Machine machine;
    machine.mountPoint = "/media/" + element(input, "stick");
    const std::string noise = input.ConsumeRandomLengthString(256);
    twk::fuzz::writeBytes(root + "/proc/self/mounts", noise + "\n/dev/" + mountField(volume) + " " +
                                                          mountField(machine.mountPoint) +
                                                          " vfat rw 0 0\n" +
                                                          input.ConsumeRemainingBytesAsString());
    machine.roots.configDir = root + "/etc";
    machine.roots.procDir = root + "/proc";
    machine.roots.sysDir = root + "/sys";
    machine.roots.devDir = root + "/dev";
    return machine;
}

void checkSize(std::uint64_t bytes) {
    const std::string size = twkd::humanSize(bytes);
    const size_t dot = size.find('.');
    FUZZ_CHECK(dot != std::string::npos && dot > 0 && size.size() > dot + 2);
    FUZZ_CHECK(size[dot + 2] == ' ');
}

void checkDescription(const Machine& machine) {
    constexpr size_t kBytes = twkd::kDescriptionChars + 1;
    // Exactly the caller's room, so a write past it is caught.
    auto buffer = std::make_unique<char[]>(kBytes);
    std::memset(buffer.get(), ' ', kBytes - 1);
    buffer[kBytes - 1] = '\0';
    const std::int16_t result =
        twkd::writeDriveInfo(machine.roots, machine.mountPoint.c_str(), buffer.get());
    FUZZ_CHECK(result == 0 || result == 1);
    const std::string text(buffer.get());
    if (result == 0) {
        FUZZ_CHECK(text == std::string(kBytes - 1, ' '));
        return;
    }
    FUZZ_CHECK(!text.empty() && text.size() <= twkd::kDescriptionChars);
    for (unsigned char c : text) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    checkSize(input.ConsumeIntegral<std::uint64_t>());
    const Machine machine = buildMachine(input);
    checkDescription(machine);
    for (const std::string& root : platform::driveRoots(machine.roots))
        (void)platform::driveType(machine.roots, root);
    return 0;
}
