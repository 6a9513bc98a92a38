#pragma once
// Wayland client objects owned as unique_ptrs, each destroyed by its own request.

#include <memory>

namespace ui::idle {

template <typename Object, void (*destroy)(Object*)> struct WaylandDestroy {
    void operator()(Object* object) const { destroy(object); }
};
template <typename Object, void (*destroy)(Object*)>
using Owned = std::unique_ptr<Object, WaylandDestroy<Object, destroy>>;

} // namespace ui::idle
