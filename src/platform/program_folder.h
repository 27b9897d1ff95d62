#pragma once

#include <string>

namespace platform {

// The folder that holds the running executable, without a trailing separator.
std::string programFolder();

}  // namespace platform
