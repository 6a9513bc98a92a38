#pragma once
// A form laid out again at a new DPI: its controls and boxes take their places, fonts and
// regions at it.

#include <windows.h>

namespace ui::win32 {

// After the form's DPI changed from `from` to `to`.
void LayOutAgain(HWND form, UINT from, UINT to);

} // namespace ui::win32
