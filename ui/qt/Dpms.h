#pragma once
// The X server's DPMS extension: whether the display is dark, and its timeouts. A server
// without the extension (Xvfb among them) answers nothing.

#include <chrono>
#include <optional>
#include <xcb/xcb.h>

namespace ui::dpms {

bool Present(xcb_connection_t* x);

struct Info {
    bool enabled;
    bool dark; // standby, suspended or off
};
std::optional<Info> AskInfo(xcb_connection_t* x);

// The first of the standby, suspend and off timeouts that is set; nothing if none is.
std::optional<std::chrono::seconds> AskFirstTimeout(xcb_connection_t* x);

} // namespace ui::dpms
