#include "ui/Idle.h"

#include <windows.h>

namespace ui::idle {

// Windows starts the chosen screen saver itself after the time set in its own settings.
int Watch(int, char**, std::chrono::milliseconds, Policy&) {
    MessageBoxW(nullptr,
                L"Windows starts the screen saver by itself. Choose Moondial and the wait in "
                L"the screen saver settings.",
                L"Moondial", MB_OK | MB_ICONINFORMATION);
    return 1;
}

} // namespace ui::idle
