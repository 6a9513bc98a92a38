#include "clock/Hands.h"

#include "ui/Outside.h"
#include "ui/PictureBox.h"

#include <cmath>

namespace clockface {

HandEnds HandEndPoints(const ClockReading& time, const HandGeometry& g) {
    const double hour = time.ClockHour, minute = time.ClockMinute, second = time.ClockSecond;
    // Hours past 12 add a whole turn rather than being reduced: the hand lands in the same place.
    const double hourAngle = g.TwoPi * (hour + minute / 60) / 12 - g.HalfPi;
    const double minuteAngle = g.TwoPi * (minute + second / 60) / 60 - g.HalfPi;
    const double secondAngle = g.TwoPi * second / 60 - g.HalfPi;
    const auto end = [](double angle, double length) {
        return Point{std::cos(angle) * length, std::sin(angle) * length};
    };
    return {end(minuteAngle, g.MinuteHandLength), end(hourAngle, g.HourHandLength),
            end(secondAngle, g.SecondHandLength)};
}

void UpdateHands(ui::PictureBox& surface, const FaceStyle& style, std::optional<int>& lastSecond,
                 ClockReading& reading, const HandGeometry& geometry, const ui::LocalTime& now) {
    if (lastSecond.value_or(0) == now.Second)
        return;
    lastSecond = now.Second;
    reading.ClockHour = static_cast<std::int16_t>(now.Hour);
    reading.ClockMinute = static_cast<std::int16_t>(now.Minute);
    reading.ClockSecond = static_cast<std::int16_t>(now.Second);

    const HandEnds ends = HandEndPoints(reading, geometry);
    surface.Clear();
    const auto draw = [&surface](const HandStyle& hand, Point end) {
        if (hand.Width)
            surface.SetPenWidth(*hand.Width);
        // The line receives single-precision coordinates, as the drawing surface keeps them.
        surface.DrawLine(0, 0, static_cast<float>(end.X), static_cast<float>(end.Y),
                         ui::PaletteColor(hand.Colour));
    };
    draw(style.Minute, ends.Minute);
    draw(style.Hour, ends.Hour);
    draw(style.Second, ends.Second);
}

} // namespace clockface
