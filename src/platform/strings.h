#pragma once

#include <string>
#include <string_view>

namespace platform {

// Blanks (spaces, tabs, line ends) removed from both ends.
std::string trim(const std::string& s);
// Byte-wise comparison without regard to ASCII letter case.
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace platform
