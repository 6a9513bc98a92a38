#pragma once
// The connection to the X server that Qt's xcb platform holds, for what the backend asks of the
// server beside Qt: null on any other platform.

struct xcb_connection_t;

namespace ui {

xcb_connection_t* X();

} // namespace ui
