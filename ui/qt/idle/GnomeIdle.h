#pragma once
// GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) and its session manager's idle
// inhibitors, over D-Bus. Every call is asynchronous: the watcher never waits on the bus.

#include "ui/qt/idle/InhibitionFlag.h"
#include "ui/qt/idle/Sources.h"

#include <QDBusServiceWatcher>
#include <QObject>
#include <optional>

namespace ui::idle {

class Gnome final : public QObject, public Source {
    Q_OBJECT
public:
    Gnome(QDBusConnection bus, std::chrono::milliseconds timeout, Report report);
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
