#pragma once

#include <string>

namespace platform {

// The folder that holds the running executable, without a trailing separator. Through
// /usr/bin/tarnwick it is the folder the link points into, where the languages and the helper
// library are.
std::string programFolder();

// The program folder of an installed Tarnwick, fixed when it is built; empty where there is no
// installed layout (Windows keeps everything in its own program folder).
std::string installedProgramFolder();
// The folder under which an installed Tarnwick finds the guard service's report folders.
std::string systemDataFolder();

}  // namespace platform
