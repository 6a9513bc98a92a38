#pragma once
// What a screen reader says of a window beyond its text, through the system's accessibility
// property service.

#include <string>
#include <windows.h>

namespace ui::win32 {

// Said after the window's name; nothing where the service cannot be had.
void SetAccessibleDescription(HWND window, const std::string& description);

} // namespace ui::win32
