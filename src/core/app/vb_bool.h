#pragma once

#include <cstdint>

namespace twk {

// The program's own boolean: a 16-bit value, true = -1 (all bits set), false = 0. Callers
// compare with VbTrue.
using VbBool = std::int16_t;
inline constexpr VbBool VbTrue = -1;
inline constexpr VbBool VbFalse = 0;

inline constexpr VbBool toVb(bool value) { return value ? VbTrue : VbFalse; }

}  // namespace twk
