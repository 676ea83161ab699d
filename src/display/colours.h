#pragma once

#include <QColor>

namespace tollwen {

// The editor's named colours, as 0xAARRGGBB values (alpha always 0xFF).
inline constexpr QRgb kBlack = 0xFF000000;
inline constexpr QRgb kTeal = 0xFF008080;    // the start marker's transparent colour
inline constexpr QRgb kSilver = 0xFFC0C0C0;  // grid lines
inline constexpr QRgb kWhite = 0xFFFFFFFF;

// The red, green and blue bits of a QRgb, and the alpha bits of an opaque one. Colours are
// compared on the first; bitmaps are opaque.
inline constexpr QRgb kRgbMask = 0x00FFFFFF;
inline constexpr QRgb kOpaque = 0xFF000000;

}  // namespace tollwen
