// A pointer for a headless compositor's seat, which has none: a virtual pointer that moves by
// the amounts read from the standard input, one "DX DY" a line, until its end.
// Usage: pointer   (in the session: WAYLAND_DISPLAY set)

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <wayland-client.h>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals.seat)
        globals.seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals.manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}
constexpr wl_registry_listener listener{Global, GlobalRemoved};

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("pointer: no Wayland display\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    if (!globals.seat || !globals.manager) {
        std::fputs("pointer: the compositor offers no virtual pointer\n", stderr);
        return 1;
    }
    auto* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    if (wl_display_roundtrip(display) < 0)
        return 1;
    std::cout << "ready" << std::endl;
    std::uint32_t time = 0;
    for (double dx = 0, dy = 0; std::cin >> dx >> dy;) {
        zwlr_virtual_pointer_v1_motion(pointer, time += 10, wl_fixed_from_double(dx),
                                       wl_fixed_from_double(dy));
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            return 1;
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_disconnect(display);
    return 0;
}
