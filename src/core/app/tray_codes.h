#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace twk {

// Action codes of the tray icon: the mouse message over the icon minus 0x200.
enum TrayCode : std::int16_t {
    kTrayMouseMove = 0,
    kTrayLeftDown = 1,
    kTrayLeftUp = 2,
    kTrayLeftDoubleClick = 3,
    kTrayRightDown = 4,
    kTrayRightUp = 5,
    kTrayRightDoubleClick = 6,
    kTrayMiddleDown = 7,
    kTrayMiddleUp = 8,
    kTrayMiddleDoubleClick = 9,
};

// Decodes a mouse-down reported to the tray's owner window, in twips. Tray notifications arrive
// with Y exactly 0 and X = mouse message number x twips per pixel; anything else is an ordinary
// mouse-down and yields nothing.
std::optional<std::int16_t> decodeTrayEvent(float x, float y, double twipsPerPixel);

// The tool tip as the tray keeps it: at most its first 63 characters.
std::string trayTip(const std::string& text);

}  // namespace twk
