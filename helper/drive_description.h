#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/roots.h"

namespace twkd {

// Room for text in the caller's buffer; one more byte holds the terminating NUL.
inline constexpr size_t kDescriptionChars = 255;

// What the system tells of a drive; empty texts and no size where it tells nothing.
struct DriveFacts {
    std::string vendor;
    std::string model;
    std::optional<std::uint64_t> bytes;  // size of the volume
    std::string label;                   // the file system's label
    std::string fallbackName;            // names the drive when neither product nor size is known
};

// "SanDisk Cruzer Blade 14.3 GB (BACKUP)": vendor, model, size of the mounted volume and its
// file-system label, each where known. Nothing when root is no drive the system describes: on
// Linux the mount point of a block device, on Windows a drive that answers the storage query.
std::optional<std::string> describeDrive(const platform::Roots& roots, const std::string& root);

// The description of those facts, each part left out where unknown.
std::string composeDescription(const DriveFacts& facts);

// Bytes as drive makers count them (1 GB = 1000^3 bytes), one decimal: "14.3 GB".
std::string humanSize(std::uint64_t bytes);

// Writes the description of the drive at root, cut to kDescriptionChars, and a NUL into buffer.
// Answers 1 on success and 0 otherwise, leaving buffer untouched then.
std::int16_t writeDriveInfo(const platform::Roots& roots, const char* root, char* buffer);

}  // namespace twkd
