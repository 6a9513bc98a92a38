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

// The art's drawings: at its own size, and the larger ones some of it has.
enum class ArtDrawing { Own, OneAndAHalf, Double };

// The drawing to take at a scale, of those the art has (`has(drawing)`; it always has its own):
// the one drawn for that scale, else the next larger, else the largest. Only the drawings
// looked at are asked for, so a backend may decode each when first asked.
template <typename Has> ArtDrawing ArtDrawingFor(double scale, Has&& has) {
    const double art = ArtScaleFor(scale);
    if (art == 1.5 && has(ArtDrawing::OneAndAHalf))
        return ArtDrawing::OneAndAHalf;
    if (art >= 1.5 && has(ArtDrawing::Double))
        return ArtDrawing::Double;
    if (art >= 1.5 && has(ArtDrawing::OneAndAHalf))
        return ArtDrawing::OneAndAHalf;
    return ArtDrawing::Own;
}

} // namespace ui
