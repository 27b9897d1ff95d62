#include "helper/drive_description.h"

#include <charconv>
#include <cstring>
#include <filesystem>

#include "platform/block_device.h"
#include "platform/strings.h"

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

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           platform::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// Vendor and model from the disk's device; memory cards name their type and card instead.
std::string productName(const platform::BlockDevice& device) {
    const std::string folder = platform::joinPath(device.diskSysPath, "device");
    std::string vendor = platform::readAttribute(folder, "vendor");
    std::string model = platform::readAttribute(folder, "model");
    if (model.empty()) {
        model = platform::readAttribute(folder, "name");
        std::string cardType = platform::readAttribute(folder, "type");
        if (vendor.empty() && !cardType.empty()) vendor = cardType + " card";
    }
    if (vendor.empty() || startsWithNoCase(model, vendor)) return model;
    return model.empty() ? vendor : vendor + " " + model;
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

std::uint64_t roundedTenths(std::uint64_t bytes, std::uint64_t unit) {
    const std::uint64_t tenth = unit / 10;
    return bytes / tenth + (bytes % tenth >= tenth / 2 ? 1 : 0);
}

// Labels and sysfs texts may hold control characters; a display line must not.
std::string printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

void appendWord(std::string& text, const std::string& word) {
    if (word.empty()) return;
    if (!text.empty()) text += ' ';
    text += word;
}

// At most maxBytes, never ending inside a UTF-8 sequence.
std::string cutText(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

std::string humanSize(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
    std::uint64_t unit = 1000;
    std::uint64_t tenths = roundedTenths(bytes, unit);
    size_t index = 0;
    // Rounded to tenths, 999.96 MB is already 1.0 GB.
    while (index + 1 < std::size(kUnits) && tenths >= 10000) {
        unit *= 1000;
        tenths = roundedTenths(bytes, unit);
        ++index;
    }
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " + kUnits[index];
}

std::optional<std::string> describeDrive(const platform::Roots& roots, const std::string& root) {
    auto device = platform::blockDeviceAt(roots, root);
    if (!device) return std::nullopt;
    std::string text = productName(*device);
    if (auto bytes = volumeBytes(*device)) appendWord(text, humanSize(*bytes));
    if (text.empty()) text = device->name;
    std::string label = volumeLabel(roots, device->name);
    if (!label.empty()) text += " (" + label + ")";
    return text;
}

std::int16_t writeDriveInfo(const platform::Roots& roots, const char* root, char* buffer) {
    if (!root || !buffer) return 0;
    auto description = describeDrive(roots, root);
    if (!description) return 0;
    std::string text = cutText(printable(*description), kDescriptionChars);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return 1;
}

}  // namespace twkd
