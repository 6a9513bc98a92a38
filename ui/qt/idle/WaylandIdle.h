#pragma once
// The Wayland compositor's idle notifications: ext-idle-notify-v1 where offered, KDE's
// org_kde_kwin_idle otherwise. The compositor's idle inhibitors hold them back by themselves.

#include "ui/qt/idle/Source.h"

#include <chrono>
#include <memory>

namespace ui::idle {

class WaylandIdle : public Source {
public:
    // Idle after timeout without input, Back at the next input, Gone with the compositor. Null
    // without a Wayland session or either protocol.
    static std::unique_ptr<WaylandIdle> Find(std::chrono::milliseconds timeout, Report report);
};

} // namespace ui::idle
