#include "helper/machine_roots.h"

namespace twkd {

platform::Roots machineRoots() { return platform::Roots::system(); }

}  // namespace twkd
