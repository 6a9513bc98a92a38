#include "ui/Screen.h"

#include "ui/Units.h"
#include "ui/win32/Dpi.h"

namespace ui::screen {

namespace {

// The primary monitor, whose scale is the system's.
double Twips(int devicePixels) {
    return PixelsToTwips(static_cast<double>(
        RoundHalfEven(DeviceToLogical(devicePixels, win32::ScaleOf(win32::SystemDpi())))));
}

} // namespace

double WidthTwips() {
    return Twips(GetSystemMetrics(SM_CXSCREEN));
}
double HeightTwips() {
    return Twips(GetSystemMetrics(SM_CYSCREEN));
}

} // namespace ui::screen
