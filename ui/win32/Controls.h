#pragma once
// What a form does for its controls: their colours, their presses, a picture button's face and
// their fonts at a new DPI.

#include "ui/win32/Impl.h"

#include <windows.h>

namespace ui::win32 {

// The control's font made again at its form's DPI.
void RemakeFont(Control::Impl& control);

HBRUSH ControlColors(HWND control, HDC dc, HBRUSH formBrush);
bool ControlPressed(HWND control);
// The labels the form's own colour shows through, after that colour changed.
void RepaintTransparentControls(HWND form);
void DrawControl(const DRAWITEMSTRUCT& item, HBRUSH formBrush);

} // namespace ui::win32
