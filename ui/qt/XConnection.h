#pragma once
// The connection to the X server that Qt's xcb platform holds, for what the backend asks of the
// server beside Qt: null on any other platform.

#include <cstdint>

struct xcb_connection_t;

namespace ui {

xcb_connection_t* X();

// Moves an X window, through Qt's own Xlib display where it has one. Xlib holds the connection
// from one of Qt's flushes to the next: a request through xcb in between takes the socket back
// from it, and Qt's next flush takes it again, a round of locks and a heap block each time.
void MoveXWindow(std::uint32_t window, int x, int y);

// Sends what waits, whichever library queued it.
void FlushX();

} // namespace ui
