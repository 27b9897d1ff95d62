// Drives described from sysfs and udev's label links.
#include <charconv>
#include <filesystem>

#include "helper/drive_description.h"
#include "platform/block_device.h"

namespace twkd {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSectorBytes = 512;

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// udev writes unsafe bytes of a label link's name as \xHH ("MY\x20STICK").
std::string decodeLinkName(const std::string& name) {
    std::string decoded;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            hexValue(name[i + 2]) >= 0 && hexValue(name[i + 3]) >= 0) {
            decoded += static_cast<char>(hexValue(name[i + 2]) * 16 + hexValue(name[i + 3]));
            i += 3;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

std::string volumeLabel(const platform::Roots& roots, const std::string& deviceName) {
    std::error_code error;
    fs::directory_iterator entry(fs::path(roots.devDir) / "disk" / "by-label", error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code notLink;
        fs::path target = fs::read_symlink(entry->path(), notLink);
        if (!notLink && target.filename() == deviceName)
            return decodeLinkName(entry->path().filename().string());
    }
    return {};
}

// Vendor and model from the disk's device; memory cards name their type and card instead.
void readProduct(const platform::BlockDevice& device, DriveFacts& facts) {
    const std::string folder = platform::joinPath(device.diskSysPath, "device");
    facts.vendor = platform::readAttribute(folder, "vendor");
    facts.model = platform::readAttribute(folder, "model");
    if (facts.model.empty()) {
        facts.model = platform::readAttribute(folder, "name");
        std::string cardType = platform::readAttribute(folder, "type");
        if (facts.vendor.empty() && !cardType.empty()) facts.vendor = cardType + " card";
    }
}

std::optional<std::uint64_t> volumeBytes(const platform::BlockDevice& device) {
    std::string sectors = platform::readAttribute(device.sysPath, "size");
    std::uint64_t count = 0;
    auto [end, error] = std::from_chars(sectors.data(), sectors.data() + sectors.size(), count);
    if (error != std::errc() || end != sectors.data() + sectors.size() || count == 0 ||
        count > UINT64_MAX / kSectorBytes)
        return std::nullopt;
    return count * kSectorBytes;
}

}  // namespace

std::optional<std::string> describeDrive(const platform::Roots& roots, const std::string& root) {
    auto device = platform::blockDeviceAt(roots, root);
    if (!device) return std::nullopt;
    DriveFacts facts;
    readProduct(*device, facts);
    facts.bytes = volumeBytes(*device);
    facts.label = volumeLabel(roots, device->name);
    facts.fallbackName = device->name;
    return composeDescription(facts);
}

}  // namespace twkd
