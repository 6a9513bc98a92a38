#pragma once
// The Qt backend's own process-wide switches, set by the program through ui/Application.h.

namespace ui::app {

bool MessageBoxesOff();

} // namespace ui::app
