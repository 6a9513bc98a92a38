#pragma once
// Geometry is kept in twips; pixels are always 15 twips, whatever the screen's own ratio.

#include <cmath>

namespace ui {

constexpr int TwipsPerPixel = 15;

// Nearest whole number, halves to the even neighbour.
inline long RoundHalfEven(double value) {
    return std::lrint(value);
}

inline long TwipsToPixels(double twips) {
    return RoundHalfEven(twips / TwipsPerPixel);
}
inline double PixelsToTwips(double pixels) {
    return pixels * TwipsPerPixel;
}

} // namespace ui
