#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// One value of a registry key, with its type kept.
struct RegValue {
    enum class Type { String, Dword, Other };
    Type type = Type::String;
    std::string text;             // String: the text; Other: raw bytes
    std::uint32_t dword = 0;      // Dword only
    std::uint32_t otherType = 3;  // Other only: the registry's type number (3 is binary)

    static RegValue string(std::string text) { return {Type::String, std::move(text), 0}; }
    static RegValue number(std::uint32_t value) { return {Type::Dword, {}, value}; }
    static RegValue other(std::uint32_t type, std::string bytes) {
        return {Type::Other, std::move(bytes), 0, type};
    }
};

using RegValues = std::vector<std::pair<std::string, RegValue>>;

// What a write makes of a key's stored values: the values to set, or nothing to write nothing.
using RegChange = std::function<std::optional<RegValues>(const RegValues& stored)>;

// The root key HKEY_LOCAL_MACHINE.
// Linux: a folder "registry/HKEY_LOCAL_MACHINE" in the system configuration directory. A key is a
// file "<key path, / for \>.reg" in the text form of a registry export, its values under the
// key's own line "[HKEY_LOCAL_MACHINE\<key path>]". A write changes the lines of the values it
// sets and keeps every other byte: comments, other keys, values of every type, continued lines,
// and the file's encoding (8-bit text, or UTF-16 with a byte-order mark). Writes replace the
// file atomically under an advisory lock, so a reader sees the old or the new file, never a mix.
// Key files are read only when they are regular files of at most kKeyFileLimit bytes.
// Windows: the real HKEY_LOCAL_MACHINE. The registry has no transaction across values, so a
// write sets its values one by one.
class RegistryRoot {
public:
    // Linux: base is the system configuration directory. Windows: base names a key under
    // HKEY_LOCAL_MACHINE that stands in for the root (tests use one of their own); empty means
    // HKEY_LOCAL_MACHINE itself.
    explicit RegistryRoot(std::string base);

    // The value, or nothing when the key or the value is missing or unreadable. Values are read
    // whole, whatever their length.
    std::optional<RegValue> read(const std::string& keyPath, const std::string& name) const;
    // Every value of the key in stored order; empty when the key is missing or unreadable.
    RegValues readAll(const std::string& keyPath) const;
    // Sets the values (others of the key are kept), creating the key and its missing parents.
    // False when anything could not be written, and when the key exists but cannot be read
    // whole or (Linux) parsed, so that nothing it holds is ever dropped.
    bool write(const std::string& keyPath, const RegValues& values) const;
    // Reads the key and sets what change makes of its values, with no other writer of the store
    // in between (Linux: the key's lock; Windows: a named mutex that every Tarnwick writer
    // takes). False when change answers nothing, and as for write.
    bool update(const std::string& keyPath, const RegChange& change) const;
    // Removes the temporary files that killed writers of the key left where this process may
    // (Linux); the registry leaves none (Windows).
    void clearLeftovers(const std::string& keyPath) const;

#ifndef _WIN32
    std::string keyFile(const std::string& keyPath) const;
    const std::string& folder() const { return location_; }
#endif

private:
    std::string location_;  // Linux: the root's folder; Windows: the stand-in root key
};

// The value of that name among values, compared without regard to case as the registry does.
const RegValue* findRegValue(const RegValues& values, const std::string& name);

#ifndef _WIN32
inline constexpr std::uint64_t kKeyFileLimit = std::uint64_t{1} << 20;

// The text form of one key file; exposed for the store's tests and fuzzing.
// The values of keyPath that the file's bytes hold, in the order first met; a later line for a
// name wins, "-" deletes. Lines that cannot be parsed are passed over.
RegValues parseRegistryText(std::string_view bytes, const std::string& keyPath);
// The bytes with values set under keyPath: the lines of those values replaced (the last line of
// each name) or added after the key's last value (the key line added when missing), every
// other byte kept, the encoding kept. Nothing when any line of the file cannot be parsed.
std::optional<std::string> updateRegistryText(std::string_view bytes, const std::string& keyPath,
                                              const RegValues& values);
#endif

}  // namespace platform
