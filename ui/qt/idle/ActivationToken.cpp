#include "ui/qt/idle/ActivationToken.h"

#include "ui/qt/idle/WaylandObjects.h"
#include "xdg-activation-v1-client-protocol.h"

#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace ui::idle {

namespace {

struct Request {
    Owned<xdg_activation_v1, xdg_activation_v1_destroy> activation;
    std::string token;
    bool done = false;
};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t) {
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        static_cast<Request*>(data)->activation.reset(static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1)));
}
void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}
constexpr wl_registry_listener registryListener{Global, GlobalRemoved};

void Done(void* data, xdg_activation_token_v1*, const char* token) {
    auto& request = *static_cast<Request*>(data);
    request.token = token;
    request.done = true;
}
constexpr xdg_activation_token_v1_listener tokenListener{Done};

} // namespace

// A connection of its own for each token: the idle source's events are never dispatched here.
std::string ActivationToken() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name)
        return {};
    const Owned<wl_display, wl_display_disconnect> display(wl_display_connect(nullptr));
    if (!display)
        return {};
    Request request;
    const Owned<wl_registry, wl_registry_destroy> registry(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &registryListener, &request);
    if (wl_display_roundtrip(display.get()) < 0 || !request.activation)
        return {};
    const Owned<xdg_activation_token_v1, xdg_activation_token_v1_destroy> token(
        xdg_activation_v1_get_activation_token(request.activation.get()));
    xdg_activation_token_v1_add_listener(token.get(), &tokenListener, &request);
    xdg_activation_token_v1_set_app_id(token.get(), "moondial");
    xdg_activation_token_v1_commit(token.get());
    // A compositor answers the commit at once; a few round trips are plenty.
    for (int round = 0; round < 3 && !request.done; ++round)
        if (wl_display_roundtrip(display.get()) < 0)
            break;
    return request.token;
}

} // namespace ui::idle
