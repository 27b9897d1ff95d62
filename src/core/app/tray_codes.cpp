#include "core/app/tray_codes.h"

#include <cfenv>
#include <cmath>

namespace twk {
namespace {

// Rounds to nearest with halves to even, whatever the current rounding mode.
double roundHalfEven(double value) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return rounded;
}

}  // namespace

std::optional<std::int16_t> decodeTrayEvent(float x, float y, double twipsPerPixel) {
    if (y != 0.0f || twipsPerPixel <= 0) return std::nullopt;
    const auto whole = static_cast<std::int32_t>(roundHalfEven(x));
    const double quotient = static_cast<double>(whole & 255) / twipsPerPixel;
    return static_cast<std::int16_t>(roundHalfEven(quotient));
}

std::string trayTip(const std::string& text) { return text.substr(0, 63); }

}  // namespace twk
