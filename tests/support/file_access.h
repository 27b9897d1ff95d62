#pragma once

#include <string>

namespace twk::test {

// Writes bytes to path, creating missing folders, so that only those trusted with a password
// may read it: its owner and group on Linux; Administrators, SYSTEM and its owner on Windows.
// Returns path.
std::string writeTrustedFile(const std::string& path, const std::string& bytes);
// Lets every user read the file as well.
void letEveryoneRead(const std::string& path);

}  // namespace twk::test
