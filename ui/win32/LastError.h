#pragma once
// The calling thread's last Win32 error, as the layer's failure.

namespace ui::win32 {

// Throws ui::Error with the last error's number and the system's words for it.
[[noreturn]] void FailLastError();

} // namespace ui::win32
