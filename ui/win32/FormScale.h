#pragma once
// A form's scale where another window holds it.

#include <windows.h>

namespace ui::win32 {

// A form placed in another window, or whose host moved to a monitor of another scale, is told
// the scale it lives at now and laid out at it: the preview at its pane's, not at the scale of
// the monitor it was made on.
void ScaleFollowsHost(HWND form);

} // namespace ui::win32
