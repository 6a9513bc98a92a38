#pragma once
// The window-manager calls the program makes on native window handles, with the meaning the
// Windows API gives them. The Qt backend carries them out on its own windows.

#include <cstdint>

namespace ui {

using WindowHandle = std::uintptr_t;

// Insert-after value: above every window that is not topmost.
inline constexpr WindowHandle TopmostWindow = static_cast<WindowHandle>(-1);

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

using RegionHandle = std::uintptr_t;

// A rectangle from (x1, y1) to (x2, y2), pixels, right and bottom outside, with corners rounded
// by an ellipse of width by height.
RegionHandle CreateRoundRectRgn(int x1, int y1, int x2, int y2, int width, int height);

// Clips the window to the region, which belongs to the window system from then on: only the
// inside shows and takes the mouse.
void SetWindowRgn(WindowHandle window, RegionHandle region, bool redraw);

} // namespace ui
