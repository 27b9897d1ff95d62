#include "platform/profile_string.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/strings.h"

namespace platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

// The section a header line names: up to its ']', or the rest of the line without one.
std::string_view sectionName(std::string_view header) {
    const std::size_t close = header.find(']');
    return trimmed(
        header.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The state of one pass: which sections are being read and which keys are still open.
class Lookup {
public:
    explicit Lookup(std::span<const ProfileKey> keys)
        : keys_(keys),
          values_(keys.size()),
          found_(keys.size(), false),
          sectionDone_(keys.size(), false) {}

    void header(std::string_view name) {
        // Only the first section of a name counts: leaving it closes its keys.
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (reading_(i)) sectionDone_[i] = true;
        inSection_.assign(keys_.size(), false);
        for (std::size_t i = 0; i < keys_.size(); ++i)
            inSection_[i] = !sectionDone_[i] && equalsNoCase(keys_[i].section, name);
    }

    void pair(std::string_view key, std::string_view value) {
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (!reading_(i) || found_[i] || !equalsNoCase(keys_[i].key, key)) continue;
            values_[i] = std::string(value);
            found_[i] = true;
        }
    }

    bool anySection() const {
        return std::find(inSection_.begin(), inSection_.end(), true) != inSection_.end();
    }
    std::vector<std::string> take() { return std::move(values_); }

private:
    bool reading_(std::size_t i) const { return i < inSection_.size() && inSection_[i]; }

    std::span<const ProfileKey> keys_;
    std::vector<std::string> values_;
    std::vector<bool> found_;
    std::vector<bool> sectionDone_;
    std::vector<bool> inSection_;
};

}  // namespace

std::vector<std::string> profileStringsFromText(std::span<const ProfileKey> keys,
                                                std::string_view text) {
    Lookup lookup(keys);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            lookup.header(sectionName(line));
            continue;
        }
        if (!lookup.anySection()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        lookup.pair(trimmed(line.substr(0, equals)), unquoted(trimmed(line.substr(equals + 1))));
    }
    return lookup.take();
}

std::string profileStringFromText(std::string_view section, std::string_view key,
                                  std::string_view text) {
    const ProfileKey wanted[] = {{section, key}};
    return profileStringsFromText(wanted, text).front();
}

std::vector<std::string> readProfileStrings(const std::string& file,
                                            std::span<const ProfileKey> keys,
                                            std::uint64_t maxFileBytes, std::size_t maxChars) {
    const FileRead read = readRegularFile(file, maxFileBytes);
    std::vector<std::string> values = read.ok() ? profileStringsFromText(keys, read.bytes)
                                                : std::vector<std::string>(keys.size());
    for (std::string& value : values)
        if (value.size() > maxChars) value.resize(maxChars);
    return values;
}

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& file, std::uint64_t maxFileBytes,
                              std::size_t maxChars) {
    const ProfileKey wanted[] = {{section, key}};
    return readProfileStrings(file, wanted, maxFileBytes, maxChars).front();
}

}  // namespace platform
