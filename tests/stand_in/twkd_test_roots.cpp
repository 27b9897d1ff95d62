// The roots of the helper library's test variant: the machine's, with the configuration folder
// (and so twkd.ini) taken from TWKD_TEST_CONFIG_DIR when a test sets it. The shipped library
// reads no environment.
#include <cstdlib>

#include "helper/machine_roots.h"

namespace twkd {

platform::Roots machineRoots() {
    platform::Roots roots = platform::Roots::system();
    if (const char* dir = std::getenv("TWKD_TEST_CONFIG_DIR")) roots.configDir = dir;
    return roots;
}

}  // namespace twkd
