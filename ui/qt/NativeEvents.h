#pragma once
// What the X server says of the program's windows that Qt does not pass on.

#include <memory>

namespace ui {

// While the result lives: a form whose X window another client destroys (the preview pane's
// owner, a window manager's kill) counts as gone, and the forms' end rule applies. Nothing is
// watched on other platforms than X11.
std::shared_ptr<void> WatchNativeWindows();

} // namespace ui
