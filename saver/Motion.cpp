#include "saver/frmMoondialMain.h"
#include "startup/ErrorReport.h"
#include "startup/modMain.h"
#include "ui/Error.h"

namespace {

std::int32_t Add(std::int32_t a, std::int32_t b) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw ui::Error(ui::errors::Overflow, "Overflow");
    return sum;
}

} // namespace

void frmMoondialMain::tmrMove_Timer() {
    modMain::Trapped(
        "Private Sub tmrMove_Timer",
        [this] {
            switch (modMain::ScreenSaverType) {
            case 1:
                MovePic(picClock);
                break;
            case 2:
                MovePic(picLips);
                break;
            case 3:
                MovePic(picAlarmClock);
                break;
            case 4:
                MovePic(picCustom);
                break;
            default:
                break;
            }
        },
        [this] { HideWindow(); });
}

// The right and bottom tests come first, so a picture at least as large as the window on an
// axis takes the positive step.
void frmMoondialMain::MovePic(ui::PictureBox& pic) {
    modMain::Trapped(
        "Private Sub MovePic",
        [&] {
            if (Form.Width() - pic.Width() <= PicLeft)
                StepX = -modMain::GetRandomNumber(10, 40);
            if (Form.Height() - pic.Height() <= PicTop)
                StepY = -modMain::GetRandomNumber(10, 40);
            if (PicLeft <= 0)
                StepX = modMain::GetRandomNumber(10, 40);
            if (PicTop <= 0)
                StepY = modMain::GetRandomNumber(10, 40);
            PicLeft = Add(PicLeft, StepX);
            PicTop = Add(PicTop, StepY);
            if (pic.Visible())
                pic.Move(PicLeft, PicTop);
        },
        [this] { HideWindow(); });
}
