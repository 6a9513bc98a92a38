#pragma once
// The window-manager calls the program makes on native window handles, with the meaning the
// Windows API gives them. The Qt backend carries them out on its own windows.

#include "ui/Units.h"

#include <cstdint>

namespace ui {

using WindowHandle = std::uintptr_t;

// Insert-after value: above every window that is not topmost.
inline constexpr WindowHandle TopmostWindow = static_cast<WindowHandle>(-1);

// Indexes of GetWindowLongValue and SetWindowLongValue (the system's GetWindowLongPtr and
// SetWindowLongPtr, pointer-wide on both builds), and the style bit the program sets.
inline constexpr int GwlStyle = -16;
inline constexpr int GwlHwndParent = -8;
inline constexpr std::intptr_t WsChild = 0x40000000;

// Flags of SetWindowPos.
namespace swp {
inline constexpr unsigned NoZOrder = 0x4;
inline constexpr unsigned NoActivate = 0x10;
inline constexpr unsigned ShowWindow = 0x40;
} // namespace swp

// Places the window in the stacking order after insertAfter (ignored with swp::NoZOrder) and
// at x, y with width cx and height cy in pixels; with swp::ShowWindow also shows it.
void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                  unsigned flags);

// A window handle as the command line gives it: 32 signed bits (sign-extended on Windows, as
// the system widens its handles; an X11 window id is the same 32 bits without a sign).
WindowHandle HandleFromNumber(std::int32_t number);

bool IsWindow(WindowHandle window);
// The desktop's own window (the X root window): no place for a window to live in.
bool IsDesktopWindow(WindowHandle window);
WindowHandle DesktopWindow();

// Device pixels per logical pixel of a window: the scale of the display it shows on (1 at 100%).
// The calls here count the system's device pixels.
double WindowScale(WindowHandle window);
// A length or position of the program's, in twips, as device pixels of the window.
inline int DevicePixels(WindowHandle window, double twips) {
    return static_cast<int>(TwipsToDevice(twips, WindowScale(window)));
}

struct Rect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};
// The inner area, in pixels; left and top are 0. False, and the rectangle untouched, when there
// is no such window.
bool GetClientRect(WindowHandle window, Rect& rect);

std::intptr_t GetWindowLongValue(WindowHandle window, int index);
std::intptr_t SetWindowLongValue(WindowHandle window, int index, std::intptr_t value);
// Makes the window a child of another, also one of another process.
WindowHandle SetParent(WindowHandle child, WindowHandle parent);

using RegionHandle = std::uintptr_t;

// A rectangle from (x1, y1) to (x2, y2), pixels, right and bottom outside, with corners rounded
// by an ellipse of width by height.
RegionHandle CreateRoundRectRgn(int x1, int y1, int x2, int y2, int width, int height);

// Clips the window to the region, which belongs to the window system from then on: only the
// inside shows and takes the mouse.
void SetWindowRgn(WindowHandle window, RegionHandle region, bool redraw);

} // namespace ui
