// The settings store's key file: whatever a hand edit, a registry editor or a torn disk leaves
// in it, a write of the program's values either refuses the file or changes only the lines of
// those values: every other line is kept byte for byte and in order, other keys keep their
// values, and reading back gives what was there with the written values set.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/store.h"
#include "platform/strings.h"

namespace {

using platform::RegValue;
using platform::RegValues;

constexpr const char* kKeyPath = "Software\\Brindle\\Tarnwick";
constexpr const char* kOtherKeyPath = "Software\\Brindle";

const RegValues kWritten = {
    {"Language", RegValue::string("Fu\"zz\\ed")},
    {"Guard", RegValue::string("line\nbreak")},
    {"DirectoryReports", RegValue::string("/srv/\xE9t\xE9")},  // not UTF-8
    {"ServiceState", RegValue::number(7)},
    {"Drives", RegValue::other(7, std::string("D\0:\0\0\0", 6))},
};

bool sameValue(const RegValue& a, const RegValue& b) {
    if (a.type != b.type) return false;
    if (a.type == RegValue::Type::Dword) return a.dword == b.dword;
    return a.text == b.text && (a.type != RegValue::Type::Other || a.otherType == b.otherType);
}

// The same names (without regard to case) with the same values, in any order: a value set
// again after a deletion line keeps its first place in the file.
bool sameValues(const RegValues& a, const RegValues& b) {
    if (a.size() != b.size()) return false;
    for (const auto& [name, value] : a) {
        const RegValue* other = platform::findRegValue(b, name);
        if (!other || !sameValue(value, *other)) return false;
    }
    return true;
}

RegValues withWritten(RegValues values) {
    for (const auto& [name, value] : kWritten) {
        const RegValue* held = platform::findRegValue(values, name);
        if (held)
            *const_cast<RegValue*>(held) = value;
        else
            values.emplace_back(name, value);
    }
    return values;
}

// The byte-order mark the file starts with, if any.
std::string_view markOf(std::string_view bytes) {
    for (std::string_view mark : {"\xFF\xFE", "\xEF\xBB\xBF"})
        if (bytes.starts_with(mark)) return mark;
    return {};
}

// The file's lines after its byte-order mark, with their line ends, in code units of one byte,
// or two after a UTF-16 byte-order mark.
std::vector<std::string_view> linesOf(std::string_view bytes, size_t unit) {
    bytes.remove_prefix(markOf(bytes).size());
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i + unit <= bytes.size(); i += unit) {
        if (bytes[i] != '\n' || (unit == 2 && bytes[i + 1] != '\0')) continue;
        lines.push_back(bytes.substr(start, i + unit - start));
        start = i + unit;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// The ASCII text of a line; other characters become 0x80.
std::string asciiOf(std::string_view line, size_t unit) {
    std::string text;
    for (size_t i = 0; i + unit <= line.size(); i += unit) {
        const bool ascii =
            static_cast<unsigned char>(line[i]) < 0x80 && (unit == 1 || line[i + 1] == '\0');
        text += ascii ? line[i] : '\x80';
    }
    return text;
}

// A line that sets one of the written names (in whatever key), which a write may replace.
bool setsWrittenName(const std::string& text) {
    const std::string line = platform::trim(text);
    for (const auto& [name, value] : kWritten) {
        const std::string quoted = "\"" + name + "\"";
        if (line.size() > quoted.size() &&
            platform::equalsNoCase(std::string_view(line).substr(0, quoted.size()), quoted) &&
            platform::trim(line.substr(quoted.size())).starts_with('='))
            return true;
    }
    return false;
}

std::string_view withoutLineEnd(std::string_view line, size_t unit) {
    while (line.size() >= unit &&
           (line[line.size() - unit] == '\n' || line[line.size() - unit] == '\r'))
        line.remove_suffix(unit);
    return line;
}

// Every line of before that sets no written name (nor continues such a line) is in after, in
// the same order; the last line may have gained a line end.
bool keepsUnownedLines(std::string_view before, std::string_view after) {
    if (markOf(after) != markOf(before)) return false;
    const size_t unit = markOf(before) == "\xFF\xFE" ? 2 : 1;
    const std::vector<std::string_view> kept = linesOf(after, unit);
    const std::vector<std::string_view> lines = linesOf(before, unit);
    size_t next = 0;
    bool continuesOwned = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string text = asciiOf(lines[i], unit);
        const bool owned = continuesOwned || setsWrittenName(text);
        continuesOwned = owned && platform::trim(text).ends_with('\\');
        if (owned) continue;
        const bool last = i + 1 == lines.size();
        while (next < kept.size() &&
               !(kept[next] == lines[i] ||
                 (last && withoutLineEnd(kept[next], unit) == withoutLineEnd(lines[i], unit))))
            ++next;
        if (next == kept.size()) return false;
        ++next;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const RegValues values = platform::parseRegistryText(text, kKeyPath);
    for (const auto& [name, value] : values) {
        const RegValue* found = platform::findRegValue(values, name);
        FUZZ_CHECK(found != nullptr);
        // Names are unique without regard to case: a lookup finds the value itself.
        FUZZ_CHECK(found == &value);
    }
    const auto written = platform::updateRegistryText(text, kKeyPath, kWritten);
    if (!written) return 0;
    FUZZ_CHECK(sameValues(platform::parseRegistryText(*written, kKeyPath), withWritten(values)));
    FUZZ_CHECK(sameValues(platform::parseRegistryText(*written, kOtherKeyPath),
                          platform::parseRegistryText(text, kOtherKeyPath)));
    FUZZ_CHECK(keepsUnownedLines(text, *written));
    FUZZ_CHECK(platform::updateRegistryText(*written, kKeyPath, kWritten) == written);
    return 0;
}
