#include "ui/win32/Dpi.h"

#include "ui/Units.h"
#include "ui/win32/Impl.h"
#include "ui/win32/SystemLibrary.h"

namespace ui::win32 {

namespace {

// Functions of newer systems, looked up once: Windows 10 (1607) has GetDpiForWindow, Windows
// 8.1 only the monitor's through the shell's scaling library, older ones neither.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

bool IsOwnForm(HWND window) {
    wchar_t name[32] = {};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() && GetClassNameW(window, name, 32) &&
           lstrcmpW(name, FormClassName) == 0;
}

} // namespace

UINT SystemDpi() {
    static const UINT dpi = [] {
        const HDC screen = GetDC(nullptr);
        const int found = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ReleaseDC(nullptr, screen);
        return found > 0 ? static_cast<UINT>(found) : BaseDpi;
    }();
    return dpi;
}

UINT DpiOfMonitor(HMONITOR monitor) {
    static const auto forMonitor =
        SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y)
        return y;
    return SystemDpi();
}

UINT DpiOfMonitor(HWND window) {
    static const auto forWindow =
        SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    if (forWindow && window)
        if (const UINT dpi = forWindow(window))
            return dpi;
    return window ? DpiOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
}

UINT Dpi(HWND window) {
    HWND form = window;
    while (form && !IsOwnForm(form))
        form = GetParent(form);
    if (!form)
        return DpiOfMonitor(window);
    const auto* owner = reinterpret_cast<const Form*>(GetWindowLongPtrW(form, GWLP_USERDATA));
    return owner ? owner->Native().dpi : DpiOfMonitor(form);
}

int ToDevice(HWND window, double twips) {
    return static_cast<int>(TwipsToDevice(twips, ScaleOf(Dpi(window))));
}

double ToTwips(HWND window, int devicePixels) {
    return PixelsToTwips(
        static_cast<double>(RoundHalfEven(DeviceToLogical(devicePixels, ScaleOf(Dpi(window))))));
}

float PointerTwips(HWND window, int devicePixels) {
    return static_cast<float>(PixelsToTwips(DeviceToLogical(devicePixels, ScaleOf(Dpi(window)))));
}

} // namespace ui::win32
