#pragma once

#include <string>

namespace platform {

// Where the functions that touch the machine look on Linux. Tests point these at temporary
// trees. Windows uses the system's own registry, drives and files and ignores them.
struct Roots {
    std::string configDir;  // system configuration directory (holds registry/ and Brindle/)
    std::string procDir = "/proc";
    std::string sysDir = "/sys";
    std::string devDir = "/dev";

    // The machine's own roots. Linux: configDir is fixed when the program is built, so the
    // program, its settings helper and the guard service agree whoever starts them and with
    // whatever environment. Windows: configDir is empty, so the settings store is
    // HKEY_LOCAL_MACHINE itself.
    static Roots system();
};

// The platform's path separator, as a string to append.
std::string pathSeparator();

// dir + separator + name; no normalisation, as callers rely on the stored text.
std::string joinPath(const std::string& dir, const std::string& name);

}  // namespace platform
