#include <filesystem>

#include "support/temp_registry.h"

namespace twk::test {

TempRegistry::TempRegistry() : location_(folder_.path()) {}

TempRegistry::~TempRegistry() = default;

bool TempRegistry::hasKey(const std::string& keyPath) const {
    // A key with values is a file; a key holding only subkeys is the folder beside it.
    const std::string file = root().keyFile(keyPath);
    return std::filesystem::is_regular_file(file) ||
           std::filesystem::is_directory(file.substr(0, file.size() - 4));
}

}  // namespace twk::test
