#include "ui/qt/idle/GnomeIdle.h"

#include "ui/qt/idle/Calls.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace ui::idle {

namespace {

const QString Monitor = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString MonitorPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");
const QString Session = QStringLiteral("org.gnome.SessionManager");
const QString SessionPath = QStringLiteral("/org/gnome/SessionManager");
// The session manager's flag for "inhibit the session being marked as idle".
constexpr quint32 InhibitIdle = 8;

} // namespace

Gnome::Gnome(QDBusConnection connection, std::chrono::milliseconds timeout, Report reported)
    : bus(std::move(connection)), report(std::move(reported)) {
    bus.connect(Monitor, MonitorPath, Monitor, QStringLiteral("WatchFired"), this,
                SLOT(WatchFired(quint32)));
    AddWatch(QStringLiteral("AddIdleWatch"), {QVariant::fromValue<quint64>(timeout.count())},
             idleWatch);
    for (const auto* signal : {"InhibitorAdded", "InhibitorRemoved"})
        bus.connect(Session, SessionPath, Session, QString::fromLatin1(signal), this,
                    SLOT(InhibitorsChanged()));
    InhibitorsChanged();
}

void Gnome::AddWatch(const QString& method, const QList<QVariant>& arguments,
                     std::optional<quint32>& into) {
    auto call = QDBusMessage::createMethodCall(Monitor, MonitorPath, Monitor, method);
    call.setArguments(arguments);
    WhenAnswered<quint32>(bus, call, this, [&into](quint32 id) { into = id; });
}

void Gnome::WatchFired(quint32 id) {
    if (id == idleWatch) {
        report(Event::UserIdle);
        // A user-active watch fires once, at the next input.
        AddWatch(QStringLiteral("AddUserActiveWatch"), {}, activeWatch);
    } else if (id == activeWatch) {
        activeWatch.reset();
        report(Event::UserBack);
    }
}

void Gnome::InhibitorsChanged() {
    auto call = QDBusMessage::createMethodCall(Session, SessionPath, Session,
                                               QStringLiteral("IsInhibited"));
    call.setArguments({QVariant::fromValue(InhibitIdle)});
    WhenAnswered<bool>(bus, call, this, [this](bool now) {
        if (now == inhibited)
            return;
        inhibited = now;
        report(now ? Event::Inhibited : Event::Uninhibited);
    });
}

std::unique_ptr<Source> GnomeIdle(QDBusConnection bus, std::chrono::milliseconds timeout,
                                  Report report) {
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(Monitor))
        return nullptr;
    return std::make_unique<Gnome>(std::move(bus), timeout, std::move(report));
}

} // namespace ui::idle
