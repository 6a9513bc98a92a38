#pragma once
// The Qt backend's own process-wide switches, set by the program through ui/Application.h.

#include <functional>

namespace ui::app {

bool MessageBoxesOff();

// Calls then from the event loop of the running application on SIGTERM or SIGINT.
void OnTerminationSignals(std::function<void()> then);

} // namespace ui::app
