#include "saver/frmMoondialMain.h"
#include "startup/ErrorReport.h"

#include <cmath>

void frmMoondialMain::Form_Resize() {
    modMain::Trapped(
        "Private Sub Form_Resize",
        [this] {
            picLips.SetPenWidth(5);
            picLips.SetScale(-2, -2, 2, 2);
            picClockMovement.SetPenWidth(2);
            picClockMovement.SetScale(-1.5, -1.5, 1.5, 1.5);
            picAlarmClockMoveMent.SetPenWidth(2);
            picAlarmClockMoveMent.SetScale(-1.5, -1.5, 1.5, 1.5);
            Hands.HourHandLength = 0.9;
            Hands.MinuteHandLength = 1.25;
            Hands.SecondHandLength = 1.75;
            Hands.TwoPi = 8 * std::atan(1.0);
            Hands.HalfPi = Hands.TwoPi / 4;
        },
        [this] { HideWindow(); });
}
