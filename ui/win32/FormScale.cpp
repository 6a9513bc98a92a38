#include "ui/win32/FormScale.h"

#include "ui/Dispatch.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Relayout.h"
#include "ui/win32/Screen.h"
#include "ui/win32/SystemLibrary.h"

#include <utility>

namespace ui::win32 {

namespace form {

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// Sizes the outer frame so that the inner area is the given size, in pixels. The frame is the
// one the system draws at the window's own DPI (Windows 10 1607 and later): at the system's, a
// dialog on a monitor of another scale came out a few pixels short or tall.
void SetClientPixels(HWND window, SIZE size, UINT flags) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi =
        SystemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT outer{0, 0, size.cx, size.cy};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&outer, style, FALSE, exStyle, DpiOfMonitor(window)))
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

// The desktop over all monitors.
RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The form is told a new scale: its controls and fonts are laid out again for it.
void TakeDpi(HWND window, Form::Impl& impl, UINT dpi) {
    const UINT old = std::exchange(impl.dpi, dpi);
    LayOutAgain(window, old, dpi);
}

namespace {

// Moved to a monitor of another scale: the system suggests the new outer rectangle; the inner
// area the program gave is kept exactly, in logical pixels.
void DpiChanged(HWND window, Form::Impl& impl, UINT dpi, const RECT& suggested) {
    TakeDpi(window, impl, dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (impl.clientWidth > 0 && !IsZoomed(window))
        SetClientPixels(window,
                        {ToDevice(window, impl.clientWidth), ToDevice(window, impl.clientHeight)});
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace

Answer Scale(HWND window, Form& form, UINT message, WPARAM wParam, LPARAM lParam) {
    Form::Impl& impl = form.Native();
    switch (message) {
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            return 0;
        impl.life.Resized(form, IsWindowVisible(window) != FALSE);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        // Shown by SetWindowPos rather than Show (the preview in its pane): the size it took
        // while hidden is reported now.
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((place->flags & SWP_SHOWWINDOW) && IsWindowVisible(window))
            impl.life.Shown(form);
        return result;
    }
    case WM_GETMINMAXINFO:
        // A borderless form maximises over the whole desktop, task bar and every monitor
        // included, or over its own monitor.
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION)) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            const RECT desktop = impl.monitor ? *impl.monitor : VirtualScreen();
            limits->ptMaxPosition = {desktop.left, desktop.top};
            limits->ptMaxSize = {desktop.right - desktop.left, desktop.bottom - desktop.top};
            limits->ptMaxTrackSize = limits->ptMaxSize;
            return 0;
        }
        break;
    case WM_DPICHANGED:
        // A form given its monitor takes that monitor's scale and place. Laying out again makes
        // fonts, which can fail like any handler's work: never out into the system.
        if (!impl.monitor)
            Guarded([&] {
                DpiChanged(window, impl, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            });
        Guarded([] { MonitorsChanged(); });
        return 0;
    case WM_DPICHANGED_AFTERPARENT: // a form living in a window that changed scale
        Guarded([&] { ScaleFollowsHost(window); });
        return 0;
    case WM_DISPLAYCHANGE:
        Guarded([] { MonitorsChanged(); });
        break;
    }
    return std::nullopt;
}

} // namespace form

void ScaleFollowsHost(HWND window) {
    Form* hosted = form::FormOf(window);
    if (!hosted || !(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
        return;
    Form::Impl& impl = hosted->Native();
    const UINT dpi = DpiOfMonitor(window);
    if (dpi == impl.dpi)
        return;
    form::TakeDpi(window, impl, dpi);
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace ui::win32
