#include "ui/qt/idle/IdleSignal.h"

#include "ui/qt/idle/GnomeIdle.h"
#include "ui/qt/idle/WaylandIdle.h"
#include "ui/qt/idle/X11Idle.h"

#include <cstdlib>

namespace ui::idle {

std::unique_ptr<Source> FindIdleSignal(QDBusConnection bus, std::chrono::milliseconds timeout,
                                       const std::function<Report(Role)>& reportAs) {
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool wayland = waylandDisplay && *waylandDisplay;
    std::unique_ptr<Source> idle = WaylandIdle::Find(timeout, reportAs(Role::IdleSignal));
    if (!idle)
        idle = GnomeIdle::Find(std::move(bus), timeout, reportAs(Role::IdleSignal),
                               reportAs(Role::SessionManager));
    // Xwayland's idle time counts only the input its own clients get.
    if (!idle && !wayland)
        idle = X11Idle::Find(timeout, reportAs(Role::IdleSignal));
    return idle;
}

} // namespace ui::idle
