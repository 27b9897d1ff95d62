#include "platform/roots.h"

namespace platform {

Roots Roots::system() {
    Roots roots;
    roots.configDir = TWK_SYSTEM_CONFIG_DIR;
    return roots;
}

std::string pathSeparator() { return "/"; }

}  // namespace platform
