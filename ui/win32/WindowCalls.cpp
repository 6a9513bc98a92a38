#include "ui/WindowCalls.h"

#include <windows.h>

namespace ui {

void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                  unsigned flags) {
    ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx,
                   cy, flags);
}

RegionHandle CreateRoundRectRgn(int x1, int y1, int x2, int y2, int width, int height) {
    return reinterpret_cast<RegionHandle>(::CreateRoundRectRgn(x1, y1, x2, y2, width, height));
}

void SetWindowRgn(WindowHandle window, RegionHandle region, bool redraw) {
    // From here on the system owns the region, whatever the call's result.
    ::SetWindowRgn(reinterpret_cast<HWND>(window), reinterpret_cast<HRGN>(region), redraw);
}

} // namespace ui
