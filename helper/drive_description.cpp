#include "helper/drive_description.h"

#include <cstring>

#include "platform/strings.h"

namespace twkd {
namespace {

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

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           platform::equalsNoCase(text.substr(0, prefix.size()), prefix);
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

std::string productName(const std::string& vendor, const std::string& model) {
    if (vendor.empty() || startsWithNoCase(model, vendor)) return model;
    return model.empty() ? vendor : vendor + " " + model;
}

std::string composeDescription(const DriveFacts& facts) {
    std::string text = productName(facts.vendor, facts.model);
    if (facts.bytes) appendWord(text, humanSize(*facts.bytes));
    if (text.empty()) text = facts.fallbackName;
    if (!facts.label.empty()) text += " (" + facts.label + ")";
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
