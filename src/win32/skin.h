#pragma once

#include <windows.h>

#include <string>

namespace twk::win32 {

// GDI+ for the life of the program: the skin pictures are PNGs with alpha.
class PictureDrawing {
public:
    PictureDrawing();
    ~PictureDrawing();
    PictureDrawing(const PictureDrawing&) = delete;
    PictureDrawing& operator=(const PictureDrawing&) = delete;

private:
    ULONG_PTR token_ = 0;
};

// Draws the skin picture name (resources/skin/<name>.svg, rasterised at build time at 1x and 2x
// and compiled in) into target with its transparency; the 2x picture when the target is larger
// than the 1x one, as on a screen of more than 96 dpi. Nothing is drawn for an unknown name.
void drawSkin(HDC dc, const std::string& name, const RECT& target);

// The skin picture as an icon of size x size pixels; null for an unknown name.
HICON skinIcon(const std::string& name, int size);

}  // namespace twk::win32
