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

// A window's inner area. Another client's window (a preview pane, a hack's window) is looked up
// once and then kept current from the server's notifications: a host checked on every tick
// costs no round trip. The program's own windows, and every window while nothing watches, are
// asked after each time. False for no such window, or one destroyed since.
bool KnownClientRect(std::uint32_t window, Rect& rect);

} // namespace ui
