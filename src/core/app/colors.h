#pragma once

#include <cstdint>

namespace twk {

// A colour in the system's COLORREF layout 0x00BBGGRR (red in the low byte).
using ColorRef = std::uint32_t;

constexpr ColorRef rgb(int red, int green, int blue) {
    return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) |
           (static_cast<ColorRef>(blue) << 16);
}
constexpr int redOf(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// Caption colour of labels as the window designs draw them before the first hover.
inline constexpr ColorRef kDesignLabelColor = rgb(64, 64, 64);
// Background and text of the entry boxes and lists.
inline constexpr ColorRef kEntryBackColor = rgb(224, 224, 224);
// A disabled box: paler than an enabled one, its text faded, so nobody clicks it to type.
inline constexpr ColorRef kDisabledEntryBackColor = rgb(243, 243, 243);
inline constexpr ColorRef kDisabledEntryTextColor = rgb(160, 160, 160);

}  // namespace twk
