#include "ui/win32/DisplayPower.h"

#include "ui/Dispatch.h"
#include "ui/Wakeup.h"

#include <cstring>

namespace ui::win32 {

namespace {

// GUID_CONSOLE_DISPLAY_STATE: the console's display off (0), on (1) or dimmed (2), from
// Windows 8; and GUID_MONITOR_POWER_ON: the monitors off (0) or on (1), which Windows 7 and
// Vista send instead. Both are asked for; where both come, they agree.
constexpr GUID ConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID MonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr const GUID* DisplayPowerSettings[] = {&ConsoleDisplayState, &MonitorPowerOn};

} // namespace

DisplayPowerNews::~DisplayPowerNews() {
    for (HPOWERNOTIFY notice : notices_)
        if (notice)
            UnregisterPowerSettingNotification(notice);
}

void DisplayPowerNews::Ask(HWND window) {
    if (notices_[0])
        return;
    for (std::size_t i = 0; i < std::size(DisplayPowerSettings); ++i)
        notices_[i] = RegisterPowerSettingNotification(window, DisplayPowerSettings[i],
                                                       DEVICE_NOTIFY_WINDOW_HANDLE);
}

std::optional<LRESULT> DisplayPowerNews::Heard(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_POWERBROADCAST || wParam != PBT_POWERSETTINGCHANGE)
        return std::nullopt;
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if ((IsEqualGUID(setting->PowerSetting, ConsoleDisplayState) ||
         IsEqualGUID(setting->PowerSetting, MonitorPowerOn)) &&
        setting->DataLength >= sizeof(DWORD)) {
        DWORD state = 0; // 0 off, 1 on, 2 dimmed
        std::memcpy(&state, setting->Data, sizeof state);
        Guarded([state] { DisplayAsleep(state == 0); });
    }
    return TRUE;
}

} // namespace ui::win32
