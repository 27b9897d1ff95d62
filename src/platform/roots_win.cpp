#include "platform/roots.h"

namespace platform {

// The registry, drives and files are the system's own; no folder stands in for them.
Roots Roots::system() { return Roots{}; }

std::string pathSeparator() { return "\\"; }

}  // namespace platform
