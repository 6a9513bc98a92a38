#pragma once
// The keys of a dialog (Tab, arrows, access keys, Enter) for a form that does not take every
// key itself.

#include <windows.h>

namespace ui::win32 {

// True when the message was one of them and is handled.
bool DialogKey(MSG& message);

} // namespace ui::win32
