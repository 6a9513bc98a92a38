// A day of the saver in simulated time: every move tick and every clock tick of each face,
// and every colour tick of the preview, with a stand-in clock that runs through midnight. The
// memory the process holds (and, on Windows, its GDI and USER objects) must be the same after
// the run as after the first simulated minute.
//
//   soak HOURS      (24 for a whole day; the test command runs a short one)

#include "preview/frmPreview.h"
#include "saver/frmMoondialMain.h"
#include "startup/modMain.h"
#include "support/StandIns.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr long long AllowedGrowth = 1024 * 1024;

ui::LocalTime simulated;

// The clock, milliseconds after a start a little before midnight, so that any run crosses it.
void SetClock(long long ms) {
    const long long start = (23LL * 3600 + 59 * 60 + 30) * 1000; // 23:59:30
    const long long day = 24LL * 3600 * 1000;
    const long long now = (start + ms) % day;
    simulated.Hour = static_cast<int>(now / 3600000);
    simulated.Minute = static_cast<int>(now / 60000 % 60);
    simulated.Second = static_cast<int>(now / 1000 % 60);
    simulated.SecondsSinceMidnight = static_cast<double>(now) / 1000;
}

struct Reading {
    long long resident;
    testing_support::GuiObjects objects;
};

Reading Read() {
    return {testing_support::ResidentBytes(), testing_support::HeldGuiObjects()};
}

// Runs ticks of the given period until the simulated end; the window system's own work (the
// repaints the moves and the hands asked for) is done once a simulated second.
template <typename Tick> bool Soak(const char* name, double hours, int period, Tick&& tick) {
    const long long end = static_cast<long long>(hours * 3600 * 1000);
    const long long settled = std::min<long long>(60000, end / 2); // the first minute, or less
    Reading first{};
    long long ticks = 0;
    for (long long ms = 0; ms <= end; ms += period) {
        SetClock(ms);
        tick(ms);
        ++ticks;
        if (ms % 1000 < period)
            testing_support::ProcessEvents();
        if (ms <= settled && ms + period > settled)
            first = Read();
    }
    testing_support::ProcessEvents();
    const Reading last = Read();
    const long long growth = last.resident - first.resident;
    std::printf("%-14s %9lld steps; after a minute %.1f MB, at the end %.1f MB (%+.0f KB); "
                "GDI %lld -> %lld, USER %lld -> %lld, handles %lld -> %lld\n",
                name, ticks, first.resident / 1048576.0, last.resident / 1048576.0, growth / 1024.0,
                first.objects.Gdi, last.objects.Gdi, first.objects.User, last.objects.User,
                first.objects.Handles, last.objects.Handles);
    std::fflush(stdout);
    return (growth <= AllowedGrowth || testing_support::Sanitized) &&
           last.objects.Gdi == first.objects.Gdi && last.objects.User == first.objects.User &&
           last.objects.Handles == first.objects.Handles;
}

} // namespace

int main(int argc, char** argv) {
    const double hours = argc > 1 ? std::atof(argv[1]) : 24;
    testing_support::StartWindowSystem(argc, argv);
    ui::Outside& world = ui::World();
    world.Now = [] { return simulated; };
    world.ShowMessage = [](const std::string& text, int, const std::string& title) {
        std::fprintf(stderr, "a message showed: %s\n%s\n", title.c_str(), text.c_str());
        std::exit(1);
    };
    world.EndProcess = [] {
        std::fputs("the program ended itself\n", stderr);
        std::exit(1);
    };
    modMain::LipsHourHandColor = 8;
    modMain::LipsMinuteHandColor = 7;
    modMain::LipsSecondHandColor = 12;

    bool flat = true;
    const char* names[] = {"", "analog clock", "lips clock", "alarm clock"};
    for (int type = 1; type <= 3; ++type) {
        modMain::ScreenSaverType = type;
        auto saver = std::make_unique<frmMoondialMain>();
        saver->Show();
        // The move every 30 ms; the face's clock every 1000 ms, or every 100 ms for the lips.
        const int clock = type == 2 ? 100 : 1000;
        flat &= Soak(names[type], hours, 10, [&](long long ms) {
            if (ms % 30 == 0)
                saver->tmrMove_Timer();
            if (ms % clock == 0)
                type == 1   ? saver->tmrClock_Timer()
                : type == 2 ? saver->tmrClockLips_Timer()
                            : saver->tmrAlarmClock_Timer();
        });
    }
    frmPreview preview;
    preview.Form.Load();
    preview.Form.Show();
    flat &= Soak("preview", hours, 200, [&](long long) { preview.tmrColor_Timer(); });
    if (!flat)
        std::puts("FAIL the memory or the window system's objects grew");
    return flat ? 0 : 1;
}
