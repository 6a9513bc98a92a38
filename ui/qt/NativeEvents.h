#pragma once
// What the X server says of the program's windows that Qt does not pass on.

#include "ui/WindowCalls.h"

#include <cstdint>
#include <memory>

namespace ui {

// While the result lives: a form whose X window another client destroys (the preview pane's
// owner, a window manager's kill) counts as gone, and the forms' end rule applies. Nothing is
// watched on other platforms than X11.
std::shared_ptr<void> WatchNativeWindows();

// The inner area of another client's window (a preview pane, a hack's window), looked up once
// and then kept current from the server's notifications: a host checked on every tick costs
// no round trip. False for no such window, or one destroyed since. While nothing watches,
// every look asks the server.
bool KnownClientRect(std::uint32_t window, Rect& rect);

} // namespace ui
