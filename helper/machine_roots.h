#pragma once

#include "platform/roots.h"

namespace twkd {

// The roots the entry points work on: the machine's own. The tests build a variant of the
// library whose roots come from their temporary tree instead.
platform::Roots machineRoots();

}  // namespace twkd
