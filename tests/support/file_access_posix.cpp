#include <filesystem>

#include "support/file_access.h"
#include "support/temp_dir.h"

namespace twk::test {

namespace fs = std::filesystem;

std::string writeTrustedFile(const std::string& path, const std::string& bytes) {
    writeFile(path, bytes);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    return path;
}

void letEveryoneRead(const std::string& path) {
    fs::permissions(path, fs::perms::others_read, fs::perm_options::add);
}

}  // namespace twk::test
