#pragma once
// The pictures' bitmaps: 32-bit DIB sections, and a decoded picture drawn at a size.

#include "ui/win32/Impl.h"

#include <windows.h>

namespace ui::win32 {

// A 32-bit top-down DIB section of that size, its rows at *bits; null when there is no room.
HBITMAP MakeDibSection(int width, int height, void** bits);

// Draws a decoded picture with its top-left corner at (x, y), filling width x height device
// pixels: from the art's own drawing for that size where it has one, else resized smoothly.
void DrawPicture(HDC target, const Picture::Data& picture, int x, int y, int width, int height);

} // namespace ui::win32
