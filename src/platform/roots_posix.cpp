#include "platform/roots.h"

#include <cstdlib>

namespace platform {

Roots Roots::fromEnvironment() {
    Roots roots;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string first = dirs ? std::string(dirs) : std::string();
    first = first.substr(0, first.find(':'));
    roots.configDir = first.empty() ? "/etc/xdg" : first;
    return roots;
}

std::string pathSeparator() { return "/"; }

}  // namespace platform
