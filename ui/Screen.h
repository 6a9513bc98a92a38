#pragma once
// The screen the program's windows appear on, and the monitors that make up the desktop.

#include <functional>
#include <string>
#include <vector>

namespace ui::screen {

// The primary monitor's size, in twips of its logical pixels.
double WidthTwips();
double HeightTwips();

// One monitor: the system's name for it (the same for as long as it stays connected), its
// place on the desktop in device pixels, and its scale.
struct Monitor {
    std::string Name;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    double Scale = 1;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

// Every monitor, the primary first (the outside world's, World().Monitors).
std::vector<Monitor> Monitors();
// What the system says of them (defined in ui/qt or ui/win32).
std::vector<Monitor> SystemMonitors();

// The program's one listener for monitors that came, went or changed place, size or scale.
// It runs from the event loop, once for changes that arrive together.
void OnMonitorsChanged(std::function<void()> listener);

} // namespace ui::screen
