#pragma once

#include <string>
#include <vector>

#include "core/settings/main_op.h"

namespace twk::test {

// The twelve settings in the order they are stored, for comparing whole stores.
inline std::vector<std::string> allValues(const MainOp& s) {
    return {s.lang,  s.isSaveReport, s.DirRep, s.DirQuar, s.isStartWind, s.isSendRep,
            s.Recip, s.Shed,         s.Time,   s.EW,      s.EM,          s.isGuard};
}

}  // namespace twk::test
