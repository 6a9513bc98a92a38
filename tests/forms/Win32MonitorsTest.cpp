// The Windows saver on several monitors, the monitor list replaced (Wine shows one): a window
// exactly over each monitor at its scale, and windows following monitors that come and go.

#include "saver/SaverWindows.h"
#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Units.h"
#include "ui/win32/Impl.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace {

using ui::screen::Monitor;

const std::vector<Monitor> Two = {{"\\\\.\\DISPLAY1", 0, 0, 1024, 768, 1.0},
                                  {"\\\\.\\DISPLAY2", 1024, 0, 1280, 1024, 1.5}};
const std::vector<Monitor> Three = {{"\\\\.\\DISPLAY1", 0, 0, 1024, 768, 1.0},
                                    {"\\\\.\\DISPLAY2", 1024, 0, 1280, 1024, 1.5},
                                    {"\\\\.\\DISPLAY3", 0, 768, 1600, 800, 2.0}};

class Win32Monitors : public testing_support::OutsideWorldTest {
protected:
    void SetUp() override {
        OutsideWorldTest::SetUp();
        modMain::ScreenSaverType = 1;
    }
    void Use(const std::vector<Monitor>& monitors) {
        ui::World().Monitors = [monitors] { return monitors; };
    }
    static HWND Window(const SaverWindows::Shown& shown) {
        return reinterpret_cast<HWND>(shown.window->Form.Handle());
    }
    // The system's news of a change, as every top-level window hears it.
    static void DisplayChanged(const SaverWindows& saver) {
        SendMessageW(Window(saver.Windows().front()), WM_DISPLAYCHANGE, 32, 0);
        testing_support::RunEventsFor(100);
    }
};

TEST_F(Win32Monitors, EachMonitorHasAWindowExactlyOverItAtItsScale) {
    for (const auto* monitors : {&Two, &Three}) {
        Use(*monitors);
        SaverWindows saver;
        saver.Show();
        ASSERT_EQ(saver.Windows().size(), monitors->size());
        for (std::size_t i = 0; i < monitors->size(); ++i) {
            const Monitor& monitor = (*monitors)[i];
            SCOPED_TRACE(monitor.Name);
            const SaverWindows::Shown& shown = saver.Windows()[i];
            EXPECT_EQ(shown.monitor, monitor);
            RECT place{};
            GetWindowRect(Window(shown), &place);
            EXPECT_EQ(place.left, monitor.Left);
            EXPECT_EQ(place.top, monitor.Top);
            EXPECT_EQ(place.right - place.left, monitor.Width);
            EXPECT_EQ(place.bottom - place.top, monitor.Height);
            EXPECT_TRUE(IsWindowVisible(Window(shown)));
            EXPECT_DOUBLE_EQ(ui::win32::ScaleOf(ui::win32::Dpi(Window(shown))), monitor.Scale);
            // The window in its monitor's logical pixels; the dial at the monitor's scale.
            EXPECT_EQ(shown.window->Form.ScaleWidth(),
                      ui::PixelsToTwips(ui::RoundHalfEven(monitor.Width / monitor.Scale)));
            RECT dial{};
            GetWindowRect(reinterpret_cast<HWND>(shown.window->picClock.Handle()), &dial);
            EXPECT_EQ(dial.right - dial.left, ui::LogicalToDevice(144, monitor.Scale));
        }
        EXPECT_EQ(ends, 0);
    }
}

TEST_F(Win32Monitors, AMonitorThatGoesTakesItsWindowAndOneThatComesGetsOne) {
    Use(Three);
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 3u);
    const frmMoondialMain* kept = saver.Windows()[1].window.get();

    Use({Three[1]});
    DisplayChanged(saver);
    ASSERT_EQ(saver.Windows().size(), 1u);
    EXPECT_EQ(saver.Windows()[0].window.get(), kept);

    // Back, and the one left moved and rescaled: each window where its monitor now is.
    Monitor moved = Three[1];
    moved.Left = 2000;
    moved.Scale = 1.25;
    Use({Three[0], moved});
    DisplayChanged(saver);
    ASSERT_EQ(saver.Windows().size(), 2u);
    EXPECT_EQ(saver.Windows()[0].window.get(), kept);
    RECT place{};
    GetWindowRect(Window(saver.Windows()[0]), &place);
    EXPECT_EQ(place.left, 2000);
    EXPECT_DOUBLE_EQ(ui::win32::ScaleOf(ui::win32::Dpi(Window(saver.Windows()[0]))), 1.25);
    EXPECT_TRUE(IsWindowVisible(Window(saver.Windows()[1])));
    EXPECT_EQ(ends, 0);
}

// What the system tells the running saver of the console's display: 0 off, 1 on. Windows 7
// tells of the monitors' power instead.
constexpr GUID ConsoleDisplay = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID MonitorPower = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
void DisplayState(HWND window, DWORD state, const GUID& news = ConsoleDisplay) {
    alignas(POWERBROADCAST_SETTING) unsigned char buffer[sizeof(POWERBROADCAST_SETTING) + 4] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(buffer);
    setting->PowerSetting = news;
    setting->DataLength = sizeof state;
    std::memcpy(setting->Data, &state, sizeof state);
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                 reinterpret_cast<LPARAM>(setting));
}

TEST_F(Win32Monitors, WhileTheDisplayIsOffNothingMovesOrTicks) {
    Use(Two);
    modMain::ScreenSaverType = 3;
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 2u);
    const auto places = [&] {
        std::vector<std::int32_t> at;
        for (const auto& shown : saver.Windows())
            at.push_back(shown.window->PicLeft);
        return at;
    };
    testing_support::RunEventsFor(100);
    DisplayState(Window(saver.Windows()[1]), 0);
    const std::vector<std::int32_t> off = places();
    const auto seconds = saver.Windows()[0].window->AlarmClockLastSecond;
    now.Second = (now.Second + 5) % 60; // time passes in the dark
    testing_support::RunEventsFor(300);
    EXPECT_EQ(places(), off);
    EXPECT_EQ(saver.Windows()[0].window->AlarmClockLastSecond, seconds);

    // Back on: the clocks show the time at once, and the pictures move again.
    DisplayState(Window(saver.Windows()[0]), 1);
    testing_support::RunEventsFor(10);
    EXPECT_EQ(saver.Windows()[0].window->AlarmClockLastSecond, now.Second);
    testing_support::RunEventsFor(200);
    const std::vector<std::int32_t> on = places();
    EXPECT_NE(on[0], off[0]);
    EXPECT_NE(on[1], off[1]);
    EXPECT_EQ(ends, 0);
}

// Where only the monitors' power is told (Windows 7), the saver sleeps with the display too.
TEST_F(Win32Monitors, TheMonitorsPowerPutsTheSaverToSleepToo) {
    Use(Two);
    modMain::ScreenSaverType = 3;
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 2u);
    testing_support::RunEventsFor(100);
    DisplayState(Window(saver.Windows()[0]), 0, MonitorPower);
    const auto off = saver.Windows()[0].window->PicLeft;
    const auto seconds = saver.Windows()[0].window->AlarmClockLastSecond;
    now.Second = (now.Second + 5) % 60;
    testing_support::RunEventsFor(300);
    EXPECT_EQ(saver.Windows()[0].window->PicLeft, off);
    EXPECT_EQ(saver.Windows()[0].window->AlarmClockLastSecond, seconds);
    DisplayState(Window(saver.Windows()[0]), 1, MonitorPower);
    testing_support::RunEventsFor(10);
    EXPECT_EQ(saver.Windows()[0].window->AlarmClockLastSecond, now.Second);
    testing_support::RunEventsFor(200);
    EXPECT_NE(saver.Windows()[0].window->PicLeft, off);
    EXPECT_EQ(ends, 0);
}

// Windows' news that the time or its zone changed, and of a resume, need nothing of their own:
// the clock's next tick, within a second, shows the new time.
TEST_F(Win32Monitors, AChangeOfTimeAndAResumeShowAtTheClocksNextTick) {
    Use({Two[0]});
    now.Second = 30;
    SaverWindows saver;
    saver.Show();
    ASSERT_EQ(saver.Windows().size(), 1u);
    const frmMoondialMain& shown = *saver.Windows()[0].window;
    testing_support::RunEventsFor(1100);
    ASSERT_EQ(shown.Clock.ClockHour, now.Hour);
    const struct {
        UINT message;
        WPARAM what;
    } news[] = {{WM_TIMECHANGE, 0}, {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC}};
    for (const auto& told : news) {
        SCOPED_TRACE(told.message);
        now.Hour = (now.Hour + 5) % 24;
        now.Minute = (now.Minute + 30) % 60;
        now.Second = (now.Second + 1) % 60;
        SendMessageW(Window(saver.Windows()[0]), told.message, told.what, 0);
        testing_support::RunEventsFor(1100);
        EXPECT_EQ(shown.Clock.ClockHour, now.Hour);
        EXPECT_EQ(shown.Clock.ClockMinute, now.Minute);
    }
    EXPECT_EQ(ends, 0);
}

// Signed in at 100%, the primary monitor at 200% since: the screen measured at the scale of
// sign-in was twice its size, and the dialogs centred on it opened partly off it.
TEST_F(Win32Monitors, TheScreenIsThePrimaryMonitorAtItsScaleNow) {
    Use({{"\\\\.\\DISPLAY1", 0, 0, 3840, 2160, 2.0},
         {"\\\\.\\DISPLAY2", 3840, 0, 1920, 1080, 1.0}});
    EXPECT_EQ(ui::screen::WidthTwips(), 1920 * 15);
    EXPECT_EQ(ui::screen::HeightTwips(), 1080 * 15);
    Use({{"\\\\.\\DISPLAY1", 0, 0, 2560, 1440, 1.5}});
    EXPECT_EQ(ui::screen::WidthTwips(), 1707 * 15); // 1706.7 logical pixels, to the nearest
    EXPECT_EQ(ui::screen::HeightTwips(), 960 * 15);
}

} // namespace
