#pragma once
// The clock hands: from the local time to three lines from the centre of a face's surface.

#include "ui/Color.h"

#include <cstdint>
#include <optional>

namespace ui {
class PictureBox;
struct LocalTime;
} // namespace ui

namespace clockface {

// Lengths in surface units and the angle constants, set up by the saver window's resize.
struct HandGeometry {
    double HourHandLength = 0;
    double MinuteHandLength = 0;
    double SecondHandLength = 0;
    double TwoPi = 0;
    double HalfPi = 0;
};

// The time of the last drawing.
struct ClockReading {
    std::int16_t ClockHour = 0;
    std::int16_t ClockMinute = 0;
    std::int16_t ClockSecond = 0;
};

// The pen of one hand: its width in pixels (none: keep the surface's width) and its colour as
// an index into the 16-colour palette, looked up when the hand is drawn.
struct HandStyle {
    std::optional<int> Width;
    int Colour = 0;
};

struct FaceStyle {
    HandStyle Minute;
    HandStyle Hour;
    HandStyle Second;
};

struct Point {
    double X = 0;
    double Y = 0;
};

struct HandEnds {
    Point Minute;
    Point Hour;
    Point Second;
};

// Where the three hands end for a time of day; 12 o'clock points up, y grows downwards.
HandEnds HandEndPoints(const ClockReading& time, const HandGeometry& geometry);

// One tick of a face: when the second differs from lastSecond (empty counts as 0), records it
// and the time, clears the surface and draws the minute, hour and second hands in that order.
void UpdateHands(ui::PictureBox& surface, const FaceStyle& style, std::optional<int>& lastSecond,
                 ClockReading& reading, const HandGeometry& geometry, const ui::LocalTime& now);

} // namespace clockface
