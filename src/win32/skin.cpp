#include "win32/skin.h"

// clang-format off
#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <map>

namespace twk::win32 {
namespace {

using namespace Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;

// One decoded picture; the stream stays with it, since GDI+ may read it again while drawing.
struct Picture {
    IStream* stream = nullptr;
    GpBitmap* bitmap = nullptr;
    UINT width = 0;
    UINT height = 0;
};

// The resource name the build gives a picture: SKIN_<NAME>_<SCALE>X.
std::string resourceName(const std::string& name, int scale) {
    std::string upper = "SKIN_" + name + "_" + std::to_string(scale) + "X";
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

Picture decode(const std::string& resource) {
    Picture picture;
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, resource.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return picture;
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* bytes = static_cast<const BYTE*>(::LockResource(loaded));
    if (!bytes) return picture;
    picture.stream = ::SHCreateMemStream(bytes, ::SizeofResource(module, found));
    if (!picture.stream) return picture;
    if (GdipCreateBitmapFromStream(picture.stream, &picture.bitmap) != Gdiplus::Ok) {
        picture.bitmap = nullptr;
        return picture;
    }
    GdipGetImageWidth(picture.bitmap, &picture.width);
    GdipGetImageHeight(picture.bitmap, &picture.height);
    return picture;
}

// Decoded once, kept for the program's life (the GUI thread alone draws).
const Picture& picture(const std::string& name, int scale) {
    static std::map<std::string, Picture> pictures;
    const std::string key = resourceName(name, scale);
    auto found = pictures.find(key);
    if (found == pictures.end()) found = pictures.emplace(key, decode(key)).first;
    return found->second;
}

const Picture& pictureFor(const std::string& name, LONG width, LONG height) {
    const Picture& single = picture(name, 1);
    if (single.bitmap && width <= static_cast<LONG>(single.width) &&
        height <= static_cast<LONG>(single.height))
        return single;
    const Picture& twice = picture(name, 2);
    return twice.bitmap ? twice : single;
}

}  // namespace

PictureDrawing::PictureDrawing() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

PictureDrawing::~PictureDrawing() { Gdiplus::GdiplusShutdown(token_); }

void drawSkin(HDC dc, const std::string& name, const RECT& target) {
    const LONG width = target.right - target.left;
    const LONG height = target.bottom - target.top;
    const Picture& shown = pictureFor(name, width, height);
    if (!shown.bitmap) return;
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
    GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
    GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHighQuality);
    GdipDrawImageRectI(graphics, shown.bitmap, target.left, target.top, width, height);
    GdipDeleteGraphics(graphics);
}

HICON skinIcon(const std::string& name, int size) {
    const Picture& source = pictureFor(name, size, size);
    if (!source.bitmap) return nullptr;
    GpBitmap* scaled = nullptr;
    if (GdipCreateBitmapFromScan0(size, size, 0, PixelFormat32bppARGB, nullptr, &scaled) !=
        Gdiplus::Ok)
        return nullptr;
    GpGraphics* graphics = nullptr;
    HICON icon = nullptr;
    if (GdipGetImageGraphicsContext(scaled, &graphics) == Gdiplus::Ok) {
        GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
        GdipDrawImageRectI(graphics, source.bitmap, 0, 0, size, size);
        GdipDeleteGraphics(graphics);
        GdipCreateHICONFromBitmap(scaled, &icon);
    }
    GdipDisposeImage(scaled);
    return icon;
}

}  // namespace twk::win32
