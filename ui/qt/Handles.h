#pragma once
// The Qt backend's RAII holders of what libxcb hands out: replies, errors, events and
// connections of its own.

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace ui::xcb {

// A reply, error or event: libxcb's malloc'd block.
struct Free {
    void operator()(void* block) const { std::free(block); }
};
template <typename Block> using Owned = std::unique_ptr<Block, Free>;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
// A connection of the program's own, not the one Qt holds.
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

} // namespace ui::xcb
