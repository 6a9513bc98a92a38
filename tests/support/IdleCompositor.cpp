#include "support/IdleCompositor.h"

#include "ext-idle-notify-v1-server-protocol.h"
#include "idle-server-protocol.h"
#include "xdg-activation-v1-server-protocol.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <wayland-server.h>

namespace tests {

struct IdleCompositor::State {
    Offers offers;
    wl_display* display = nullptr;
    std::string socket;
    int commands[2] = {-1, -1};
    wl_event_source* commandSource = nullptr;
    std::thread thread;
    mutable std::mutex mutex;
    std::vector<std::uint32_t> extTimeouts, kdeTimeouts;
    std::vector<std::string> appIds;
    std::vector<wl_resource*> extNotifications, kdeNotifications;
    int tokens = 0;

    static State& Of(wl_resource* resource) {
        return *static_cast<State*>(wl_resource_get_user_data(resource));
    }
    static void Destroy(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }
    static void Forget(std::vector<wl_resource*>& list, wl_resource* resource) {
        list.erase(std::remove(list.begin(), list.end(), resource), list.end());
    }

    // ext-idle-notify-v1
    static void ExtNotificationGone(wl_resource* resource) {
        Forget(Of(resource).extNotifications, resource);
    }
    static void GetIdleNotification(wl_client* client, wl_resource* notifier, std::uint32_t id,
                                    std::uint32_t timeout, wl_resource*) {
        static const struct ext_idle_notification_v1_interface implementation { Destroy };
        State& state = Of(notifier);
        auto* resource = wl_resource_create(client, &ext_idle_notification_v1_interface, 1, id);
        wl_resource_set_implementation(resource, &implementation, &state, ExtNotificationGone);
        std::lock_guard lock(state.mutex);
        state.extTimeouts.push_back(timeout);
        state.extNotifications.push_back(resource);
    }
    static void BindExt(wl_client* client, void* data, std::uint32_t, std::uint32_t id) {
        static const struct ext_idle_notifier_v1_interface implementation {
            Destroy, GetIdleNotification
        };
        auto* resource = wl_resource_create(client, &ext_idle_notifier_v1_interface, 1, id);
        wl_resource_set_implementation(resource, &implementation, data, nullptr);
    }

    // org_kde_kwin_idle
    static void KdeTimeoutGone(wl_resource* resource) {
        Forget(Of(resource).kdeNotifications, resource);
    }
    static void SimulateActivity(wl_client*, wl_resource*) {}
    static void GetIdleTimeout(wl_client* client, wl_resource* idle, std::uint32_t id, wl_resource*,
                               std::uint32_t timeout) {
        static const struct org_kde_kwin_idle_timeout_interface implementation {
            Destroy, SimulateActivity
        };
        State& state = Of(idle);
        auto* resource = wl_resource_create(client, &org_kde_kwin_idle_timeout_interface, 1, id);
        wl_resource_set_implementation(resource, &implementation, &state, KdeTimeoutGone);
        std::lock_guard lock(state.mutex);
        state.kdeTimeouts.push_back(timeout);
        state.kdeNotifications.push_back(resource);
    }
    static void BindKde(wl_client* client, void* data, std::uint32_t, std::uint32_t id) {
        static const struct org_kde_kwin_idle_interface implementation { GetIdleTimeout };
        auto* resource = wl_resource_create(client, &org_kde_kwin_idle_interface, 1, id);
        wl_resource_set_implementation(resource, &implementation, data, nullptr);
    }

    // xdg-activation-v1: a token for every commit.
    static void SetSerial(wl_client*, wl_resource*, std::uint32_t, wl_resource*) {}
    static void SetAppId(wl_client*, wl_resource* token, const char* appId) {
        State& state = Of(token);
        std::lock_guard lock(state.mutex);
        state.appIds.emplace_back(appId);
    }
    static void SetSurface(wl_client*, wl_resource*, wl_resource*) {}
    static void Commit(wl_client*, wl_resource* token) {
        State& state = Of(token);
        xdg_activation_token_v1_send_done(token,
                                          ("token-" + std::to_string(++state.tokens)).c_str());
    }
    static void GetToken(wl_client* client, wl_resource* activation, std::uint32_t id) {
        static const struct xdg_activation_token_v1_interface implementation {
            SetSerial, SetAppId, SetSurface, Commit, Destroy
        };
        auto* resource = wl_resource_create(client, &xdg_activation_token_v1_interface, 1, id);
        wl_resource_set_implementation(resource, &implementation, &Of(activation), nullptr);
    }
    static void Activate(wl_client*, wl_resource*, const char*, wl_resource*) {}
    static void BindActivation(wl_client* client, void* data, std::uint32_t, std::uint32_t id) {
        static const struct xdg_activation_v1_interface implementation {
            Destroy, GetToken, Activate
        };
        auto* resource = wl_resource_create(client, &xdg_activation_v1_interface, 1, id);
        wl_resource_set_implementation(resource, &implementation, data, nullptr);
    }

    // A seat that is only ever named in requests.
    static void BindSeat(wl_client* client, void*, std::uint32_t, std::uint32_t id) {
        wl_resource_create(client, &wl_seat_interface, 1, id);
    }

    // Commands from the test's thread, carried out on the compositor's.
    static int Command(int fd, std::uint32_t, void* data) {
        State& state = *static_cast<State*>(data);
        char command = 0;
        if (::read(fd, &command, 1) != 1)
            return 0;
        std::lock_guard lock(state.mutex);
        if (command == 'q') {
            wl_display_terminate(state.display);
        } else if (command == 'd') {
            wl_display_destroy_clients(state.display);
        } else {
            for (auto* resource : state.extNotifications)
                command == 'i' ? ext_idle_notification_v1_send_idled(resource)
                               : ext_idle_notification_v1_send_resumed(resource);
            for (auto* resource : state.kdeNotifications)
                command == 'i' ? org_kde_kwin_idle_timeout_send_idle(resource)
                               : org_kde_kwin_idle_timeout_send_resumed(resource);
        }
        wl_display_flush_clients(state.display);
        return 0;
    }

    void Send(char command) const {
        if (::write(commands[1], &command, 1) != 1)
            throw std::runtime_error("the stand-in compositor's command pipe failed");
    }
};

IdleCompositor::IdleCompositor(Offers offers) : state(std::make_unique<State>()) {
    State& s = *state;
    s.offers = offers;
    s.display = wl_display_create();
    const char* socket = s.display ? wl_display_add_socket_auto(s.display) : nullptr;
    if (!socket || ::pipe(s.commands) != 0)
        throw std::runtime_error("no stand-in compositor");
    s.socket = socket;
    wl_global_create(s.display, &wl_seat_interface, 1, &s, State::BindSeat);
    if (offers.extIdleNotify)
        wl_global_create(s.display, &ext_idle_notifier_v1_interface, 1, &s, State::BindExt);
    if (offers.kdeIdle)
        wl_global_create(s.display, &org_kde_kwin_idle_interface, 1, &s, State::BindKde);
    if (offers.activation)
        wl_global_create(s.display, &xdg_activation_v1_interface, 1, &s, State::BindActivation);
    s.commandSource = wl_event_loop_add_fd(wl_display_get_event_loop(s.display), s.commands[0],
                                           WL_EVENT_READABLE, State::Command, &s);
    s.thread = std::thread([&s] { wl_display_run(s.display); });
}

IdleCompositor::~IdleCompositor() {
    state->Send('q');
    state->thread.join();
    wl_event_source_remove(state->commandSource);
    wl_display_destroy_clients(state->display);
    wl_display_destroy(state->display);
    ::close(state->commands[0]);
    ::close(state->commands[1]);
}

const std::string& IdleCompositor::Socket() const {
    return state->socket;
}
std::vector<std::uint32_t> IdleCompositor::ExtTimeouts() const {
    std::lock_guard lock(state->mutex);
    return state->extTimeouts;
}
std::vector<std::uint32_t> IdleCompositor::KdeTimeouts() const {
    std::lock_guard lock(state->mutex);
    return state->kdeTimeouts;
}
std::vector<std::string> IdleCompositor::TokenAppIds() const {
    std::lock_guard lock(state->mutex);
    return state->appIds;
}
void IdleCompositor::Idle() {
    state->Send('i');
}
void IdleCompositor::Resume() {
    state->Send('r');
}
void IdleCompositor::DropClients() {
    state->Send('d');
}

} // namespace tests
