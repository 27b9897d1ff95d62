#pragma once

#include <string>

namespace platform {

// Number of characters of 8-bit text in the system code page (UTF-8 here: code points).
size_t characterCount(const std::string& text);

}  // namespace platform
