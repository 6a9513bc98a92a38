#include "ui/qt/idle/GnomeIdle.h"

#include "ui/qt/idle/WhenAnswered.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <cstdio>

namespace ui::idle {

namespace {

const QString Monitor = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString MonitorPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString Session = QStringLiteral("org.gnome.SessionManager");
const QString SessionPath = QStringLiteral("/org/gnome/SessionManager");
// The session manager's flag for "inhibit the session being marked as idle".
constexpr quint32 InhibitIdle = 8;

} // namespace

GnomeIdle::GnomeIdle(QDBusConnection connection, std::chrono::milliseconds wait, Report idle,
                     Report inhibitors)
    : bus(std::move(connection)), timeout(wait), report(std::move(idle)),
      sessionInhibitors(bus,
                        {Session,
                         SessionPath,
                         Session,
                         QStringLiteral("IsInhibited"),
                         {QVariant::fromValue(InhibitIdle)},
                         {QStringLiteral("InhibitorAdded"), QStringLiteral("InhibitorRemoved")}},
                        std::move(inhibitors)) {
    bus.connect(Monitor, MonitorPath, Monitor, QStringLiteral("WatchFired"), this,
                SLOT(WatchFired(quint32)));
    // GNOME Shell restarted (Alt+F2 r on Xorg, a crash the session recovers from).
    monitor.setConnection(bus);
    monitor.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    monitor.addWatchedService(Monitor);
    connect(&monitor, &QDBusServiceWatcher::serviceRegistered, this, [this] { AddWatches(); });
    AddWatches();
}

void GnomeIdle::AddWatches() {
    idleWatch.reset();
    activeWatch.reset();
    AddWatch(QStringLiteral("AddIdleWatch"), {QVariant::fromValue<quint64>(timeout.count())},
             idleWatch);
    // Away when it went: its return is still to be heard.
    if (away)
        AddWatch(QStringLiteral("AddUserActiveWatch"), {}, activeWatch);
}

void GnomeIdle::AddWatch(const QString& method, const QList<QVariant>& arguments,
                         std::optional<quint32>& into) {
    auto call = QDBusMessage::createMethodCall(Monitor, MonitorPath, Monitor, method);
    call.setArguments(arguments);
    WhenAnswered<quint32>(
        bus, call, this, [&into](quint32 id) { into = id; },
        [method](const QDBusError& error) {
            std::fprintf(stderr, "moondial: GNOME's idle monitor refused %s: %s\n",
                         qPrintable(method), qPrintable(error.message()));
        });
}

void GnomeIdle::WatchFired(quint32 id) {
    if (id == idleWatch) {
        away = true;
        report(Edge::Idle);
        // A user-active watch fires once, at the next input.
        AddWatch(QStringLiteral("AddUserActiveWatch"), {}, activeWatch);
    } else if (id == activeWatch) {
        activeWatch.reset();
        away = false;
        report(Edge::Back);
    }
}

std::unique_ptr<GnomeIdle> GnomeIdle::Find(QDBusConnection bus, std::chrono::milliseconds timeout,
                                           Report idle, Report inhibitors) {
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(Monitor))
        return nullptr;
    return std::make_unique<GnomeIdle>(std::move(bus), timeout, std::move(idle),
                                       std::move(inhibitors));
}

} // namespace ui::idle
