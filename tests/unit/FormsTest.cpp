// Forms and their lives on the backend of the build: load, resize, close, and the end of the
// process when nothing is left on the screen.

#include "support/StandIns.h"
#include "ui/Form.h"
#include "ui/FormList.h"
#include "ui/PictureBox.h"
#include "ui/Screen.h"
#include "ui/Services.h"
#include "ui/Timer.h"
#include "ui/Wakeup.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class Forms : public testing_support::OutsideWorldTest {};

TEST_F(Forms, ANestedBoxKeepsItsPlaceInItsParentAndShowsWithIt) {
    ui::Form form;
    ui::PictureBox outer(form, 150, 150, 3000, 3000);
    ui::PictureBox inner(outer, 300, 450, 600, 600);
    EXPECT_FALSE(inner.Visible()); // the form is not shown yet

    outer.Move(1500, 1800);
    EXPECT_EQ(inner.Left(), 300);
    EXPECT_EQ(inner.Top(), 450);

    form.Show();
    EXPECT_TRUE(inner.Visible());
    outer.SetVisible(false);
    EXPECT_FALSE(inner.Visible());
}

// The surfaces take their scale in the form's Resize handler, which must run when it shows.
TEST_F(Forms, LoadRunsOnceResizeOnShowingAndCloseUnloadsForTheNextShow) {
    ui::Form other; // keeps the program on the screen while the form under test closes
    other.Show();
    ui::Form form;
    int loads = 0, unloads = 0, resizes = 0;
    form.OnLoad = [&] { ++loads; };
    form.OnUnload = [&] { ++unloads; };
    form.OnResize = [&] { ++resizes; };

    form.Load();
    form.Load();
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(resizes, 0);

    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(loads, 1);
    EXPECT_GE(resizes, 1);

    form.Close();
    form.Close();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Loaded());

    form.Show();
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(ends, 0);
}

// A close request that only hid the window left a process behind, ticking and holding the
// instance mark, so that no saver could start again until the user logged off.
TEST_F(Forms, ClosingTheLastFormOnTheScreenEndsTheProcess) {
    ui::Form first, second, hidden;
    int unloads = 0;
    second.OnUnload = [&] { ++unloads; };
    hidden.Load();
    first.Show();
    second.Show();
    EXPECT_FALSE(Ends([&] { first.Close(); }));
    EXPECT_TRUE(Ends([&] { second.Close(); })); // a loaded hidden form shows nothing
    EXPECT_EQ(unloads, 1);                      // the unload ran before the end
}

TEST_F(Forms, AnUnloadThatShowsAnotherFormKeepsTheProgramGoing) {
    ui::Form dialog, box;
    box.OnUnload = [&] { dialog.Show(); };
    dialog.Show();
    dialog.Hide();
    box.Show();
    EXPECT_FALSE(Ends([&] { box.Close(); }));
    EXPECT_TRUE(dialog.Visible());
}

// A failure in the first Resize hides the window and the program goes on: the event loop runs
// while a form is loaded, not only while one shows.
TEST_F(Forms, AFormHiddenOnItsFirstShowingStillKeepsTheProgramGoing) {
    ui::Form form;
    form.OnResize = [&] { form.Hide(); };
    form.Show();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(ui::forms::AnyLoaded());
    EXPECT_EQ(ends, 0);
}

// A recurring failure in a tick showed a new report every 30 ms, stacked without limit, while
// the first one waited for its OK.
TEST_F(Forms, ATimerNeverTicksWhileItsPreviousTickRuns) {
    ui::Form form;
    ui::Timer timer(form, 10, true);
    int ticks = 0, running = 0, most = 0;
    ui::World().ShowMessage = [&](const std::string&, int, const std::string&) {
        testing_support::RunEventsFor(200); // the person takes a while to press OK
    };
    timer.OnTick = [&] {
        ++ticks;
        most = std::max(most, ++running);
        ui::ShowMessage("report", ui::CriticalStyle, "CRITICAL ERROR");
        --running;
    };
    testing_support::RunEventsFor(500);
    EXPECT_GE(ticks, 2); // it ticks on after each report
    EXPECT_EQ(most, 1);
    EXPECT_TRUE(timer.Enabled());
}

// Windows on several monitors each have their own timers: those of one interval share each
// wakeup of the process, however far apart they were started; each stops and starts on its own.
TEST_F(Forms, TimersOfOneIntervalTickInOneWakeup) {
    using Clock = std::chrono::steady_clock;
    ui::Form first, second;
    ui::Timer a(first, 60, true);
    std::vector<Clock::time_point> ticksA, ticksB;
    int slow = 0;
    a.OnTick = [&] { ticksA.push_back(Clock::now()); };
    testing_support::RunEventsFor(90); // half a period out of step with a
    ui::Timer b(second, 60, true), slower(second, 70, true);
    b.OnTick = [&] { ticksB.push_back(Clock::now()); };
    slower.OnTick = [&] { ++slow; };
    testing_support::RunEventsFor(500);
    ASSERT_GE(ticksB.size(), 4u);
    // Each tick of b in the same wakeup as one of a, not half a period later.
    for (const Clock::time_point tick : ticksB) {
        const auto nearest = std::min_element(
            ticksA.begin(), ticksA.end(), [tick](Clock::time_point x, Clock::time_point y) {
                return std::chrono::abs(x - tick) < std::chrono::abs(y - tick);
            });
        EXPECT_LT(std::chrono::abs(*nearest - tick), std::chrono::milliseconds(10));
    }
    EXPECT_GE(slow, 2);

    a.SetEnabled(false);
    const std::size_t before = ticksA.size(), beforeB = ticksB.size();
    testing_support::RunEventsFor(200);
    EXPECT_EQ(ticksA.size(), before);
    EXPECT_GE(ticksB.size(), beforeB + 2);
}

// The display off (DPMS on X11, the power news on Windows): every timer stops; back on, each ticks
// at once, so that the clocks show the time without waiting their second.
TEST_F(Forms, TimersSleepWhileTheDisplayIsOffAndTickAtOnceAfter) {
    ui::Form form;
    ui::Timer fast(form, 30, true), clock(form, 1000, true);
    int fastTicks = 0, clockTicks = 0;
    fast.OnTick = [&] { ++fastTicks; };
    clock.OnTick = [&] { ++clockTicks; };
    testing_support::RunEventsFor(100);
    EXPECT_GT(fastTicks, 0);

    ui::DisplayAsleep(true);
    const int before = fastTicks;
    testing_support::RunEventsFor(300);
    EXPECT_EQ(fastTicks, before);
    EXPECT_EQ(clockTicks, 0);

    ui::DisplayAsleep(false);
    testing_support::RunEventsFor(10);
    EXPECT_EQ(clockTicks, 1);
    testing_support::RunEventsFor(100);
    EXPECT_GT(fastTicks, before + 1);
}

// A saver moving its picture every 30 ms and looking at the lips' clock every 100 ms woke 43
// times a second: the longer timer now ticks in the shorter one's wakeups, at its own rate, and
// on its own again once the shorter one stops.
TEST_F(Forms, ALongerTimerTicksInTheShorterOnesWakeups) {
    using Clock = std::chrono::steady_clock;
    ui::Form form;
    ui::Timer move(form, 30, true), clock(form, 100, true);
    std::vector<Clock::time_point> moves, clocks;
    move.OnTick = [&] { moves.push_back(Clock::now()); };
    clock.OnTick = [&] { clocks.push_back(Clock::now()); };
    testing_support::RunEventsFor(1000);
    EXPECT_GE(clocks.size(), 8u);
    EXPECT_LE(clocks.size(), 11u);
    for (const Clock::time_point tick : clocks) {
        const auto nearest = std::min_element(
            moves.begin(), moves.end(), [tick](Clock::time_point a, Clock::time_point b) {
                return std::chrono::abs(a - tick) < std::chrono::abs(b - tick);
            });
        ASSERT_NE(nearest, moves.end());
        EXPECT_LT(std::chrono::abs(*nearest - tick), std::chrono::milliseconds(3));
    }

    move.SetEnabled(false);
    const std::size_t before = clocks.size();
    testing_support::RunEventsFor(450);
    EXPECT_GE(clocks.size(), before + 3);
    EXPECT_LE(clocks.size(), before + 5);
}

TEST_F(Forms, TheClientSizeIsTheAreaInsideTheBorder) {
    ui::Form tool;
    tool.SetBorderStyle(ui::BorderStyle::FixedToolWindow);
    tool.SetClientSize(4800, 3600);
    EXPECT_EQ(tool.ScaleWidth(), 4800);
    EXPECT_EQ(tool.ScaleHeight(), 3600);
    EXPECT_GE(tool.Width(), 4800);
    EXPECT_GE(tool.Height(), 3600);

    ui::Form borderless;
    borderless.SetBorderStyle(ui::BorderStyle::None);
    borderless.SetClientSize(3000, 1500);
    EXPECT_EQ(borderless.Width(), 3000);
    EXPECT_EQ(borderless.Height(), 1500);
}

TEST_F(Forms, AMaximisedBorderlessFormCoversTheScreen) {
    ui::Form form;
    form.SetBorderStyle(ui::BorderStyle::None);
    form.SetStartMaximized(true);
    form.Show();
    EXPECT_EQ(form.Left(), 0);
    EXPECT_EQ(form.Top(), 0);
    EXPECT_EQ(form.Width(), ui::screen::WidthTwips());
    EXPECT_EQ(form.Height(), ui::screen::HeightTwips());
    EXPECT_EQ(form.ScaleWidth(), ui::screen::WidthTwips());
}

} // namespace
