#pragma once
// The running saver's news of the display's power: every timer sleeps while the display is off.

#include <array>
#include <optional>
#include <windows.h>

namespace ui::win32 {

// The console's and the monitors' notifications, asked for once, ended with their holder.
class DisplayPowerNews {
public:
    DisplayPowerNews() = default;
    ~DisplayPowerNews();
    DisplayPowerNews(const DisplayPowerNews&) = delete;
    DisplayPowerNews& operator=(const DisplayPowerNews&) = delete;

    void Ask(HWND window);
    // WM_POWERBROADCAST's answer when it was a display's news.
    static std::optional<LRESULT> Heard(UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::array<HPOWERNOTIFY, 2> notices_{};
};

} // namespace ui::win32
