#pragma once
// GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) and its session manager's idle
// inhibitors, over D-Bus. Every call is asynchronous: the watcher never waits on the bus.

#include "ui/qt/idle/InhibitionFlag.h"
#include "ui/qt/idle/Source.h"

#include <QDBusServiceWatcher>
#include <QObject>
#include <memory>
#include <optional>

namespace ui::idle {

class GnomeIdle final : public QObject, public Source {
    Q_OBJECT
public:
    // Idle after timeout without input and Back at the next input, to `idle`; the session
    // manager's idle inhibitors, to `inhibitors`. Null where the monitor does not run on this bus.
    static std::unique_ptr<GnomeIdle> Find(QDBusConnection bus, std::chrono::milliseconds timeout,
                                           Report idle, Report inhibitors);
    GnomeIdle(QDBusConnection bus, std::chrono::milliseconds timeout, Report idle,
              Report inhibitors);
    const char* Name() const override { return "org.gnome.Mutter.IdleMonitor"; }

private slots:
    void WatchFired(quint32 id);

private:
    // Adds the watches afresh: at the start, and for a monitor that has restarted, which
    // knows none of the old ones.
    void AddWatches();
    // Calls a method of the idle monitor; then gets the watch id it answers.
    void AddWatch(const QString& method, const QList<QVariant>& arguments,
                  std::optional<quint32>& into);

    QDBusConnection bus;
    std::chrono::milliseconds timeout;
    Report report;
    std::optional<quint32> idleWatch;
    std::optional<quint32> activeWatch;
    bool away = false;
    QDBusServiceWatcher monitor;
    InhibitionFlag sessionInhibitors;
};

} // namespace ui::idle
