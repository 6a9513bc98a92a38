#include "ui/Settings.h"

#include "startup/ErrorReport.h"
#include "startup/modMain.h"

namespace modMain {

std::string GetRegKey(std::int32_t root, std::string keyPath, std::string valueName,
                      std::string defaultValue) {
    std::string result;
    Trapped("Public Sub GetRegKey", [&] {
        if (auto stored = ui::settings::ReadValue(root, keyPath, valueName)) {
            result = std::move(*stored);
            return;
        }
        ui::settings::WriteValue(root, keyPath, valueName, defaultValue);
        result = std::move(defaultValue);
    });
    return result;
}

void SetRegKey(std::int32_t root, std::string keyPath, std::string valueName, std::string value) {
    Trapped("Public Sub SetRegKey",
            [&] { ui::settings::WriteValue(root, keyPath, valueName, value); });
}

} // namespace modMain
