#pragma once
// Geometry is kept in twips. The program's pixels are logical pixels, always 15 twips, whatever
// the screen's own ratio; a logical pixel covers `scale` device pixels, the display's own scale
// (a monitor's DPI / 96 on Windows, a screen's device-pixel ratio in Qt). At 100% the two are
// the same.

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

// Whole logical pixels on the device: the layout holds in logical pixels, and each figure is
// rounded once, as the program rounds twips.
inline long LogicalToDevice(double logical, double scale) {
    return RoundHalfEven(logical * scale);
}
inline long TwipsToDevice(double twips, double scale) {
    return LogicalToDevice(static_cast<double>(TwipsToPixels(twips)), scale);
}
inline double DeviceToLogical(double device, double scale) {
    return device / scale;
}

// The scales the art is drawn at. A scale between them takes the next larger drawing, reduced;
// above the largest the largest is enlarged smoothly.
inline double ArtScaleFor(double scale) {
    return scale <= 1.0 ? 1.0 : scale <= 1.5 ? 1.5 : 2.0;
}

} // namespace ui
