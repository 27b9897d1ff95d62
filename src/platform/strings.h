#pragma once

#include <string>

namespace platform {

// Blanks (spaces, tabs, line ends) removed from both ends.
std::string trim(const std::string& s);
// Byte-wise comparison without regard to ASCII letter case.
bool equalsNoCase(const std::string& a, const std::string& b);

}  // namespace platform
