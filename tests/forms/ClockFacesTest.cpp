// The three faces' hands, read back as pixels from the real surfaces.

#include "forms/SaverFixture.h"
#include "support/WidgetOf.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class ClockFaces : public SaverFixture {
protected:
    void At(int hour, int minute, int second) {
        now = {hour, minute, second, hour * 3600.0 + minute * 60.0 + second};
    }

    // Pixel at a point given in surface units, as the surface maps them.
    static QColor PixelAt(const ui::PictureBox& box, double x, double y, double x1, double x2) {
        const QWidget* w = testing_support::WidgetOf(box);
        const QImage image = testing_support::WidgetOf(box)->grab().toImage();
        const double px = (x - x1) * w->width() / (x2 - x1);
        const double py = (y - x1) * w->height() / (x2 - x1);
        return image.pixelColor(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
    }
};

const QColor Black(0, 0, 0), Red(255, 0, 0), DialGrey(192, 192, 192), Grey(128, 128, 128);

TEST_F(ClockFaces, PlainClockDrawsBlackHandsAndARedSecondHand) {
    auto form = Shown(1);
    At(9, 0, 15); // hour hand left, minute hand up, second hand right
    form->tmrClock_Timer();
    const auto& surface = form->picClockMovement;
    EXPECT_EQ(PixelAt(surface, -0.6, 0, -1.5, 1.5), Black); // hour
    EXPECT_EQ(PixelAt(surface, 0, -1.0, -1.5, 1.5), Black); // minute
    EXPECT_EQ(PixelAt(surface, 1.2, 0, -1.5, 1.5), Red);    // second
    EXPECT_EQ(PixelAt(surface, 0.8, 0.8, -1.5, 1.5), DialGrey);
    EXPECT_EQ(surface.PenWidth(), 1);
    EXPECT_EQ(form->Clock.ClockHour, 9);
    EXPECT_EQ(form->Clock.ClockSecond, 15);
}

TEST_F(ClockFaces, AlarmClockDrawsTheSameHandsOnItsOwnSurface) {
    auto form = Shown(3);
    At(15, 0, 45); // hour hand right, second hand left
    form->tmrAlarmClock_Timer();
    const auto& surface = form->picAlarmClockMoveMent;
    EXPECT_EQ(PixelAt(surface, 0.6, 0, -1.5, 1.5), Black);
    EXPECT_EQ(PixelAt(surface, -1.2, 0, -1.5, 1.5), Red);
    EXPECT_EQ(PixelAt(surface, -0.8, 0.8, -1.5, 1.5), DialGrey);
}

TEST_F(ClockFaces, LipsHourHandIsGreyOverTheLightGreyMinuteHand) {
    auto form = Shown(2);
    At(3, 15, 40); // hour and minute hands both point right; the second hand away from them
    form->tmrClockLips_Timer();
    const auto& lips = form->picLips;
    EXPECT_EQ(PixelAt(lips, 0.4, 0.02, -2, 2), Grey);   // where both hands lie
    EXPECT_EQ(PixelAt(lips, 1.15, 0, -2, 2), DialGrey); // the minute hand alone
    EXPECT_EQ(lips.PenWidth(), 2);
}

TEST_F(ClockFaces, RedrawsOnlyWhenTheSecondChanges) {
    auto form = Shown(1);
    At(9, 0, 0);
    form->tmrClock_Timer(); // an empty record counts as second 0: nothing drawn
    EXPECT_FALSE(form->ClockLastSecond.has_value());
    EXPECT_EQ(PixelAt(form->picClockMovement, -0.6, 0, -1.5, 1.5), DialGrey);

    At(9, 0, 1);
    form->tmrClock_Timer();
    EXPECT_EQ(form->ClockLastSecond, 1);
    EXPECT_EQ(PixelAt(form->picClockMovement, -0.6, 0, -1.5, 1.5), Black);

    At(3, 0, 1); // the same second a few hours later: the face keeps the old time
    form->tmrClock_Timer();
    EXPECT_EQ(form->Clock.ClockHour, 9);
    EXPECT_EQ(PixelAt(form->picClockMovement, -0.6, 0, -1.5, 1.5), Black);

    At(3, 0, 2); // the next second: old hands gone, new ones drawn
    form->tmrClock_Timer();
    EXPECT_EQ(PixelAt(form->picClockMovement, -0.6, 0, -1.5, 1.5), DialGrey);
    EXPECT_EQ(PixelAt(form->picClockMovement, 0.6, 0, -1.5, 1.5), Black);
}

TEST_F(ClockFaces, HandsSurviveARepaintAndAMove) {
    auto form = Shown(1);
    At(9, 0, 15);
    form->tmrClock_Timer();
    form->picClock.Move(6000, 4500);
    testing_support::WidgetOf(form->picClockMovement)->repaint();
    EXPECT_EQ(PixelAt(form->picClockMovement, -0.6, 0, -1.5, 1.5), Black);
}

TEST_F(ClockFaces, AFailingTickHidesTheWindowReportsAndKeepsTicking) {
    auto form = Shown(2);
    modMain::LipsHourHandColor = 99; // no such palette colour
    At(10, 0, 5);
    form->tmrClockLips_Timer();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Private Sub tmrClockLips_Timer\r\n"),
              std::string::npos);
    EXPECT_FALSE(form->Form.Visible());
    EXPECT_TRUE(form->tmrClockLips.Enabled());
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(form->LipsLastSecond, 5); // the next second tries again
}

} // namespace
