#pragma once

#include <string>
#include <string_view>

// Shared pieces of the fuzz targets: a scratch folder per process for targets whose input must
// be a file, and a check that ends the run so libFuzzer keeps the input.
namespace twk::fuzz {

// A private folder under the system's temporary directory, made on first use and removed when
// the process ends normally.
const std::string& scratchFolder();
// scratchFolder() + "/" + relative.
std::string scratchPath(const std::string& relative);
// Removes everything inside the scratch folder.
void clearScratch();
// Writes bytes to path, creating missing folders.
void writeBytes(const std::string& path, std::string_view bytes);

// Reports a broken property and aborts; libFuzzer then saves the input as a crash.
[[noreturn]] void fail(const char* check, const char* file, int line);

}  // namespace twk::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::twk::fuzz::fail(#condition, __FILE__, __LINE__))
