#pragma once
// Each window is laid out at its monitor's DPI: the program's logical pixels (15 twips each)
// times DPI / 96 are the system's device pixels.

#include <windows.h>

namespace ui::win32 {

constexpr UINT BaseDpi = 96;

// The system's DPI (the primary monitor's when the session began).
UINT SystemDpi();
// What the system says of the window's monitor, or of a monitor, on every version that can
// tell.
UINT DpiOfMonitor(HWND window);
UINT DpiOfMonitor(HMONITOR monitor);
// The DPI the window is laid out at: its form's, which the form is told when it moves to a
// monitor of another scale, or is placed in a window (the preview takes its pane's).
UINT Dpi(HWND window);

inline double ScaleOf(UINT dpi) {
    return static_cast<double>(dpi) / BaseDpi;
}

// Twips of the program to the window's device pixels, and back to whole logical pixels (the
// way there and back gives the same twips at every scale of 100% and more).
int ToDevice(HWND window, double twips);
double ToTwips(HWND window, int devicePixels);
// A pointer position, to the fraction of a logical pixel the device can tell.
float PointerTwips(HWND window, int devicePixels);

} // namespace ui::win32
