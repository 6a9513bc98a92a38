#include "ui/WindowCalls.h"

#include "ui/Dispatch.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/FormScale.h"
#include "ui/win32/Impl.h"

namespace ui {

double WindowScale(WindowHandle window) {
    return win32::ScaleOf(win32::Dpi(reinterpret_cast<HWND>(window)));
}

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

namespace ui {

WindowHandle HandleFromNumber(std::int32_t number) {
    return static_cast<WindowHandle>(static_cast<std::intptr_t>(number));
}

bool IsWindow(WindowHandle window) {
    return ::IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

bool IsDesktopWindow(WindowHandle window) {
    return reinterpret_cast<HWND>(window) == GetDesktopWindow();
}

WindowHandle DesktopWindow() {
    return reinterpret_cast<WindowHandle>(GetDesktopWindow());
}

bool GetClientRect(WindowHandle window, Rect& rect) {
    RECT client{};
    if (!::GetClientRect(reinterpret_cast<HWND>(window), &client))
        return false;
    rect = {client.left, client.top, client.right, client.bottom};
    return true;
}

std::intptr_t GetWindowLongValue(WindowHandle window, int index) {
    return GetWindowLongPtrW(reinterpret_cast<HWND>(window), index);
}

std::intptr_t SetWindowLongValue(WindowHandle window, int index, std::intptr_t value) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    // For a child, the owner is its parent: one it already has is no change. Wine makes the
    // parent anew all the same, and activates the window as it does, taking the focus from
    // the program whose pane it lives in.
    if (index == GWLP_HWNDPARENT && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) &&
        GetAncestor(hwnd, GA_PARENT) == reinterpret_cast<HWND>(value))
        return value;
    return SetWindowLongPtrW(hwnd, index, value);
}

WindowHandle SetParent(WindowHandle child, WindowHandle parent) {
    const HWND window = reinterpret_cast<HWND>(child);
    const HWND before = ::SetParent(window, reinterpret_cast<HWND>(parent));
    Guarded([window] { win32::ScaleFollowsHost(window); });
    return reinterpret_cast<WindowHandle>(before);
}

} // namespace ui
