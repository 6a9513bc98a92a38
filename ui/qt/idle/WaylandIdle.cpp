#include "ui/qt/idle/WaylandIdle.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "ui/qt/idle/WaylandObjects.h"

#include <QSocketNotifier>
#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace ui::idle {

namespace {

// The two protocols' notifications say the same two things; one client serves both.
class Client final : public WaylandIdle {
public:
    Client(wl_display* connection, Report reported)
        : display(connection), report(std::move(reported)) {}

    // Binds the globals it needs; false when the compositor offers no idle protocol.
    bool Start(std::chrono::milliseconds timeout) {
        registry.reset(wl_display_get_registry(display.get()));
        wl_registry_add_listener(registry.get(), &registryListener, this);
        if (wl_display_roundtrip(display.get()) < 0 || !seat || (!notifier && !kdeIdle))
            return false;
        const auto ms = static_cast<std::uint32_t>(timeout.count());
        if (notifier) {
            notification.reset(
                ext_idle_notifier_v1_get_idle_notification(notifier.get(), ms, seat.get()));
            ext_idle_notification_v1_add_listener(notification.get(), &extListener, this);
        } else {
            kdeTimeout.reset(org_kde_kwin_idle_get_idle_timeout(kdeIdle.get(), seat.get(), ms));
            org_kde_kwin_idle_timeout_add_listener(kdeTimeout.get(), &kdeListener, this);
        }
        if (wl_display_flush(display.get()) < 0)
            return false;
        events = std::make_unique<QSocketNotifier>(wl_display_get_fd(display.get()),
                                                   QSocketNotifier::Read);
        QObject::connect(events.get(), &QSocketNotifier::activated, [this] { Read(); });
        return true;
    }

    const char* Name() const override {
        return notifier ? "ext-idle-notify-v1" : "org_kde_kwin_idle";
    }

private:
    void Read() {
        if (wl_display_dispatch(display.get()) < 0 || wl_display_flush(display.get()) < 0) {
            events->setEnabled(false);
            report(Edge::Gone);
        }
    }

    static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t) {
        auto& self = *static_cast<Client*>(data);
        // The first seat: the protocols count input on one seat, and a desktop has one.
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self.seat)
            self.seat.reset(
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
        else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
            self.notifier.reset(static_cast<ext_idle_notifier_v1*>(
                wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1)));
        else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
            self.kdeIdle.reset(static_cast<org_kde_kwin_idle*>(
                wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1)));
    }
    static void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}

    template <typename Notification> static void Idled(void* data, Notification*) {
        static_cast<Client*>(data)->report(Edge::Idle);
    }
    template <typename Notification> static void Resumed(void* data, Notification*) {
        static_cast<Client*>(data)->report(Edge::Back);
    }

    static constexpr wl_registry_listener registryListener{Global, GlobalRemoved};
    static constexpr ext_idle_notification_v1_listener extListener{
        Idled<ext_idle_notification_v1>, Resumed<ext_idle_notification_v1>};
    static constexpr org_kde_kwin_idle_timeout_listener kdeListener{
        Idled<org_kde_kwin_idle_timeout>, Resumed<org_kde_kwin_idle_timeout>};

    // Declared first, destroyed last: every object below lives on this connection.
    Owned<wl_display, wl_display_disconnect> display;
    Report report;
    Owned<wl_registry, wl_registry_destroy> registry;
    Owned<wl_seat, wl_seat_destroy> seat;
    Owned<ext_idle_notifier_v1, ext_idle_notifier_v1_destroy> notifier;
    Owned<org_kde_kwin_idle, org_kde_kwin_idle_destroy> kdeIdle;
    Owned<ext_idle_notification_v1, ext_idle_notification_v1_destroy> notification;
    Owned<org_kde_kwin_idle_timeout, org_kde_kwin_idle_timeout_release> kdeTimeout;
    std::unique_ptr<QSocketNotifier> events;
};

} // namespace

std::unique_ptr<WaylandIdle> WaylandIdle::Find(std::chrono::milliseconds timeout, Report report) {
    // Without WAYLAND_DISPLAY the library would try "wayland-0" all the same.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name)
        return nullptr;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    auto source = std::make_unique<Client>(display, std::move(report));
    if (!source->Start(timeout))
        return nullptr;
    return source;
}

} // namespace ui::idle
