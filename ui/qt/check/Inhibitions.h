#pragma once
// What holds the saver off right now: the applications that hold the session's idle inhibitors
// (GNOME's session manager, Plasma's policy agent, the watcher's own org.freedesktop.ScreenSaver),
// with their reasons where they tell them. Each asked for a second at most.

#include "ui/Check.h"

#include <QDBusConnection>

namespace ui::check {

Findings Inhibitions(QDBusConnection bus);

} // namespace ui::check
