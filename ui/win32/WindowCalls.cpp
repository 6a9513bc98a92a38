#include "ui/WindowCalls.h"

#include <windows.h>

namespace ui {

void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                  unsigned flags) {
    ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx,
                   cy, flags);
}

} // namespace ui
