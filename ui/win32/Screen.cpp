#include "ui/Screen.h"

#include "ui/Dispatch.h"
#include "ui/Units.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Handles.h"
#include "ui/win32/Screen.h"
#include "ui/win32/Text.h"

#include <algorithm>

namespace ui::screen {

namespace {

// Device pixels of the primary monitor, at its scale now: the one Windows signed in at may have
// changed since, and a dialog centred with it would open partly off that screen.
double Twips(int devicePixels, double scale) {
    return PixelsToTwips(static_cast<double>(RoundHalfEven(DeviceToLogical(devicePixels, scale))));
}

BOOL CALLBACK Collect(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(handle, &info))
        return TRUE;
    Monitor monitor;
    monitor.Name = win32::Utf8(info.szDevice);
    monitor.Left = info.rcMonitor.left;
    monitor.Top = info.rcMonitor.top;
    monitor.Width = info.rcMonitor.right - info.rcMonitor.left;
    monitor.Height = info.rcMonitor.bottom - info.rcMonitor.top;
    monitor.Scale = win32::ScaleOf(win32::DpiOfMonitor(handle));
    auto& monitors = *reinterpret_cast<std::vector<Monitor>*>(list);
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        monitors.insert(monitors.begin(), monitor);
    else
        monitors.push_back(monitor);
    return TRUE;
}

std::function<void()>& Listener() {
    static std::function<void()> listener;
    return listener;
}

constexpr UINT Changed = WM_APP;

LRESULT CALLBACK NoticeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A message-only window the news of a change is posted to, so that the listener runs from the
// event loop, never inside the window procedure of a window it may destroy.
class Notices {
public:
    Notices() : window_(L"MoondialMonitors", NoticeProcedure) {}
    Notices(const Notices&) = delete;
    Notices& operator=(const Notices&) = delete;

    void Post() {
        if (!pending_)
            pending_ = PostMessageW(window_.Get(), Changed, 0, 0) != FALSE;
    }
    void Delivered() { pending_ = false; }

private:
    win32::MessageWindow window_;
    bool pending_ = false;
};

Notices& TheNotices() {
    static Notices notices;
    return notices;
}

LRESULT CALLBACK NoticeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != Changed)
        return DefWindowProcW(window, message, wParam, lParam);
    TheNotices().Delivered();
    const auto listener = Listener();
    Dispatch(listener);
    return 0;
}

// One side of the primary monitor at its scale now; the system's metric where none is listed.
double PrimaryTwips(int Monitor::*side, int metric) {
    const std::vector<Monitor> monitors = Monitors();
    if (monitors.empty())
        return Twips(GetSystemMetrics(metric), win32::ScaleOf(win32::SystemDpi()));
    return Twips(monitors.front().*side, monitors.front().Scale);
}

} // namespace

double WidthTwips() {
    return PrimaryTwips(&Monitor::Width, SM_CXSCREEN);
}
double HeightTwips() {
    return PrimaryTwips(&Monitor::Height, SM_CYSCREEN);
}

std::vector<Monitor> SystemMonitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void OnMonitorsChanged(std::function<void()> listener) {
    Listener() = std::move(listener);
}

} // namespace ui::screen

namespace ui::win32 {

void MonitorsChanged() {
    if (screen::Listener())
        screen::TheNotices().Post();
}

} // namespace ui::win32
