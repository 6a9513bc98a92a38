#include "clock/Hands.h"

#include "clock/Faces.h"
#include "startup/modMain.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using clockface::ClockReading;
using clockface::HandEndPoints;
using clockface::HandGeometry;
using clockface::Point;

HandGeometry Geometry() {
    HandGeometry g;
    g.HourHandLength = 0.9;
    g.MinuteHandLength = 1.25;
    g.SecondHandLength = 1.75;
    g.TwoPi = 8 * std::atan(1.0);
    g.HalfPi = g.TwoPi / 4;
    return g;
}

void ExpectNear(Point actual, Point expected, const char* what) {
    EXPECT_NEAR(actual.X, expected.X, 0.00005) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 0.00005) << what;
}

struct Worked {
    std::int16_t hour, minute, second;
    Point minuteEnd, hourEnd, secondEnd;
};

TEST(Hands, WorkedEndPoints) {
    const Worked table[] = {
        {0, 0, 0, {0, -1.25}, {0, -0.9}, {0, -1.75}},
        {12, 0, 0, {0, -1.25}, {0, -0.9}, {0, -1.75}},
        {3, 0, 0, {0, -1.25}, {0.9, 0}, {0, -1.75}},
        {15, 0, 0, {0, -1.25}, {0.9, 0}, {0, -1.75}},
        {6, 30, 0, {0, 1.25}, {-0.2329, 0.8693}, {0, -1.75}},
        {9, 30, 45, {-0.0981, 1.2461}, {-0.8693, -0.2329}, {-1.75, 0}},
        {10, 10, 30, {1.1138, -0.5675}, {-0.7372, -0.5162}, {0, 1.75}},
        {23, 59, 59, {-0.0022, -1.25}, {-0.0079, -0.9}, {-0.1829, -1.7404}},
    };
    for (const Worked& w : table) {
        SCOPED_TRACE(::testing::Message() << w.hour << ':' << w.minute << ':' << w.second);
        const auto ends = HandEndPoints(ClockReading{w.hour, w.minute, w.second}, Geometry());
        ExpectNear(ends.Minute, w.minuteEnd, "minute");
        ExpectNear(ends.Hour, w.hourEnd, "hour");
        ExpectNear(ends.Second, w.secondEnd, "second");
    }
}

TEST(Hands, HourHandRunsOnSmoothlyPastMidnight) {
    const auto before = HandEndPoints(ClockReading{23, 59, 59}, Geometry()).Hour;
    const auto after = HandEndPoints(ClockReading{0, 0, 0}, Geometry()).Hour;
    EXPECT_LT(std::hypot(after.X - before.X, after.Y - before.Y), 0.01);
}

TEST(Hands, SecondHandFitsTheClockSurfacesOnlyAwayFromTheQuarters) {
    // Half a clock surface is 1.5 units; the second hand is 1.75.
    for (std::int16_t s = 0; s < 60; ++s) {
        const auto end = HandEndPoints(ClockReading{0, 0, s}, Geometry()).Second;
        const bool whole = std::abs(end.X) <= 1.5 && std::abs(end.Y) <= 1.5;
        const int inQuarter = s % 15;
        EXPECT_EQ(whole, inQuarter >= 6 && inQuarter <= 9) << "second " << s;
    }
}

TEST(Faces, HandStyles) {
    const auto classic = clockface::ClassicFace();
    EXPECT_EQ(classic.Minute.Width, 2);
    EXPECT_EQ(classic.Hour.Width, 3);
    EXPECT_EQ(classic.Second.Width, 1);
    EXPECT_EQ(classic.Hour.Colour, 0);
    EXPECT_EQ(classic.Second.Colour, 12);

    modMain::LipsHourHandColor = 8;
    modMain::LipsMinuteHandColor = 7;
    modMain::LipsSecondHandColor = 12;
    const auto lips = clockface::LipsFace();
    EXPECT_EQ(lips.Minute.Width, 5);
    EXPECT_FALSE(lips.Hour.Width.has_value()); // keeps the minute hand's 5
    EXPECT_EQ(lips.Second.Width, 2);
    EXPECT_EQ(lips.Minute.Colour, 7);
    EXPECT_EQ(lips.Hour.Colour, 8);
    EXPECT_EQ(lips.Second.Colour, 12);
}

} // namespace
