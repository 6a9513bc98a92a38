// Input for a headless compositor's seat, which has none: wlroots' virtual pointer (sway) or
// KWin's fake input (KWin, which allows it to any client when started with
// KWIN_WAYLAND_NO_PERMISSION_CHECKS=1). Reads one command a line until the end of its input:
// "DX DY" moves the pointer by that much, "key CODE" presses and releases the key of that
// evdev code (KWin only). Prints "ready" once its devices are on the seat; the compositor makes
// them new devices for each client, so one client serves a whole test.
// Usage: input   (in the session: WAYLAND_DISPLAY set)

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <wayland-client.h>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    org_kde_kwin_fake_input* fake = nullptr;
};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t version) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals.seat)
        globals.seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals.manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    // Keys came with version 4.
    else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        globals.fake = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}
void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}
constexpr wl_registry_listener listener{Global, GlobalRemoved};

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("input: no Wayland display\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    zwlr_virtual_pointer_v1* pointer = nullptr;
    if (globals.seat && globals.manager)
        pointer =
            zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    else if (globals.fake)
        org_kde_kwin_fake_input_authenticate(globals.fake, "moondial tests", "end-to-end tests");
    else {
        std::fputs("input: the compositor offers neither a virtual pointer nor fake input\n",
                   stderr);
        return 1;
    }
    if (wl_display_roundtrip(display) < 0)
        return 1;
    std::cout << "ready" << std::endl;
    std::uint32_t time = 0;
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        if (first == "key") {
            std::uint32_t code = 0;
            if (!(words >> code) || !globals.fake) {
                std::fputs("input: a key needs a code and fake input\n", stderr);
                return 1;
            }
            org_kde_kwin_fake_input_keyboard_key(globals.fake, code, WL_KEYBOARD_KEY_STATE_PRESSED);
            org_kde_kwin_fake_input_keyboard_key(globals.fake, code,
                                                 WL_KEYBOARD_KEY_STATE_RELEASED);
        } else {
            double dx = 0, dy = 0;
            std::istringstream(line) >> dx >> dy;
            if (pointer) {
                zwlr_virtual_pointer_v1_motion(pointer, time += 10, wl_fixed_from_double(dx),
                                               wl_fixed_from_double(dy));
                zwlr_virtual_pointer_v1_frame(pointer);
            } else {
                org_kde_kwin_fake_input_pointer_motion(globals.fake, wl_fixed_from_double(dx),
                                                       wl_fixed_from_double(dy));
            }
        }
        if (wl_display_roundtrip(display) < 0)
            return 1;
    }
    if (pointer)
        zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_disconnect(display);
    return 0;
}
