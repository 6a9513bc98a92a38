#pragma once
// The session's idle signal: the compositor's, else GNOME's, else the X server's.

#include "ui/qt/idle/Source.h"

#include <QDBusConnection>
#include <chrono>
#include <functional>
#include <memory>

namespace ui::idle {

// Null where the session has none the watcher knows.
std::unique_ptr<Source> FindIdleSignal(QDBusConnection bus, std::chrono::milliseconds timeout,
                                       const std::function<Report(Role)>& reportAs);

} // namespace ui::idle
