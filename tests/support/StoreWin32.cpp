#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Settings.h"

#include <algorithm>
#include <windows.h>

namespace testing_support {

namespace {
constexpr const wchar_t* Key = L"SOFTWARE\\Quillon\\Moondial";
}

void ClearStore() {
    RegDeleteTreeW(HKEY_CURRENT_USER, Key);
}

std::optional<std::string> Stored(const std::string& name) {
    return ui::settings::ReadValue(ui::settings::CurrentUser, modMain::SettingsKey, name);
}

std::vector<std::string> StoredNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Key, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, name + length);
    }
    RegCloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
}

// Values of a kind that holds no text, as a hand edit might leave them, cannot be read.
void BreakStore() {
    ClearStore();
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    const BYTE junk[] = {1, 2, 3};
    for (const wchar_t* name : {L"Preview", L"Screen Saver Type", L"Custom Graphic Path"})
        RegSetValueExW(key, name, 0, REG_BINARY, junk, sizeof junk);
    RegCloseKey(key);
}

} // namespace testing_support
