#pragma once
// The backend's side of the monitors' news.

namespace ui::win32 {

// Monitors came, went or changed: the program's listener runs once the event loop is back.
void MonitorsChanged();

} // namespace ui::win32
