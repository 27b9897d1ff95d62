#include "platform/roots.h"

namespace platform {

std::string joinPath(const std::string& dir, const std::string& name) {
    return dir + pathSeparator() + name;
}

}  // namespace platform
