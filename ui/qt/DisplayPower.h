#pragma once
// The running saver sleeps while the X server's display is off.

namespace ui {

// Starts asking the server, once, for as long as the process runs.
void WatchDisplayPower();

} // namespace ui
