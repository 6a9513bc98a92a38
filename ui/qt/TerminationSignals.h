#pragma once
// SIGTERM and SIGINT, delivered from the event loop.

#include <functional>

namespace ui::app {

// Calls then from the event loop of the running application on SIGTERM or SIGINT.
void OnTerminationSignals(std::function<void()> then);

} // namespace ui::app
