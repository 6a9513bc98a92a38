#pragma once
// Services of the platform that the program calls directly.

#include "ui/Outside.h"

#include <cstdint>
#include <string>

namespace ui {

// Message box styles: one OK button and an icon.
constexpr int CriticalStyle = 16;
constexpr int ExclamationStyle = 48;

inline void ShowMessage(const std::string& text, int style, const std::string& title) {
    World().ShowMessage(text, style, title);
}

inline LocalTime Now() {
    return World().Now();
}

inline std::optional<std::string> ChooseFile(const std::string& folder, const std::string& filter) {
    return World().ChooseFile(folder, filter);
}

inline bool OpenUrl(const std::string& address) {
    return World().OpenUrl(address);
}

// Ends the process at once; no further event or close handler runs.
[[noreturn]] void EndProgram();

} // namespace ui
