#include "clock/Faces.h"
#include "saver/frmMoondialMain.h"
#include "startup/ErrorReport.h"
#include "ui/Services.h"

void frmMoondialMain::tmrClock_Timer() {
    modMain::Trapped(
        "Private Sub tmrClock_Timer",
        [this] {
            clockface::UpdateHands(picClockMovement, clockface::ClassicFace(), ClockLastSecond,
                                   Clock, Hands, ui::Now());
        },
        [this] { HideWindow(); });
}

void frmMoondialMain::tmrAlarmClock_Timer() {
    modMain::Trapped(
        "Private Sub tmrAlarmClock_Timer",
        [this] {
            clockface::UpdateHands(picAlarmClockMoveMent, clockface::ClassicFace(),
                                   AlarmClockLastSecond, Clock, Hands, ui::Now());
        },
        [this] { HideWindow(); });
}

void frmMoondialMain::tmrClockLips_Timer() {
    modMain::Trapped(
        "Private Sub tmrClockLips_Timer",
        [this] {
            clockface::UpdateHands(picLips, clockface::LipsFace(), LipsLastSecond, Clock, Hands,
                                   ui::Now());
        },
        [this] { HideWindow(); });
}
