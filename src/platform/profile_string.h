#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One key of an INI file to look up.
struct ProfileKey {
    std::string_view section;
    std::string_view key;
};

// INI files are read with the platform's rules, on every system by our own reader: section and
// key names without regard to case, blanks around the value dropped, one pair of enclosing
// double quotes dropped, lines starting with ';' are comments, the first matching section and
// key win. A missing section or key gives empty text.

// The values of keys in text, in the order of keys, from one pass over the text.
std::vector<std::string> profileStringsFromText(std::span<const ProfileKey> keys,
                                                std::string_view text);
std::string profileStringFromText(std::string_view section, std::string_view key,
                                  std::string_view text);

// Reads file once (through readRegularFile, at most maxFileBytes) and looks up every key, each
// value cut to maxChars bytes. A file that cannot be read gives empty values.
std::vector<std::string> readProfileStrings(const std::string& file,
                                            std::span<const ProfileKey> keys,
                                            std::uint64_t maxFileBytes, std::size_t maxChars);
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& file, std::uint64_t maxFileBytes,
                              std::size_t maxChars);

}  // namespace platform
