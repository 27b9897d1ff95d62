#pragma once

namespace twk {

// Window designs measure in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

// On a screen of dpi dots per inch (1440 twips make an inch), to the nearest pixel.
constexpr int twipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}
constexpr int twipsToPixels(int twips) { return twipsToPixels(twips, 96); }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace twk
