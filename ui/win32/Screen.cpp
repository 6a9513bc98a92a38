#include "ui/Screen.h"

#include "ui/Units.h"

#include <windows.h>

namespace ui::screen {

double WidthTwips() {
    return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN));
}
double HeightTwips() {
    return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN));
}

} // namespace ui::screen
