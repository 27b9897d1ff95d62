#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_string.h"
#include "platform/store.h"

// Everything the program keeps outside itself: registry text values, INI keys and one download.
// No operation raises an error; a failure shows as empty text or false.
namespace twk::Regedit {

using RootKey = platform::RegistryRoot;

// Stores one text value, creating the key and its missing parents. False when not written.
bool SaveString(const RootKey& root, const std::string& keyPath, const std::string& name,
                const std::string& text);
// Stores several text values. Linux: one atomic replacement of the key, readers see all or none.
// Windows: value by value, as the registry has no transaction across values. False unless every
// value was written.
bool SaveStrings(const RootKey& root, const std::string& keyPath,
                 const std::vector<std::pair<std::string, std::string>>& values);
// The text value, read whole; empty for a missing key or value or a value of another type.
std::string GetString(const RootKey& root, const std::string& keyPath, const std::string& name);
// One read of a whole key, for values that were saved together and must be read together.
class KeySnapshot {
public:
    KeySnapshot(const RootKey& root, const std::string& keyPath);
    // Same results as GetString, from the snapshot.
    std::string GetString(const std::string& name) const;

private:
    platform::RegValues values_;
};

inline constexpr size_t kIniValueLimit = 254;
// INI files larger than this (version.dat, twkd.ini) are not read: they are a few lines long.
inline constexpr std::uint64_t kIniFileLimit = std::uint64_t{1} << 20;

// One INI key, at most 254 characters; empty when absent or when the file is no regular file
// of at most maxFileBytes.
std::string ReadIniString(const std::string& section, const std::string& key,
                          const std::string& file, std::uint64_t maxFileBytes = kIniFileLimit);
// Several keys from one reading of the file, in the order of keys; the same rules.
std::vector<std::string> ReadIniStrings(std::span<const platform::ProfileKey> keys,
                                        const std::string& file, std::uint64_t maxFileBytes);
// True when url was fetched whole into file; otherwise failure, when given, tells why.
bool DownloadFile(const std::string& url, const std::string& file, std::string* failure = nullptr);

}  // namespace twk::Regedit
