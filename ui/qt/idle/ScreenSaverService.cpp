#include "ui/qt/idle/ScreenSaverService.h"

#include "ui/qt/idle/WhenAnswered.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace ui::idle {

namespace {

const QString ServiceName = QStringLiteral("org.freedesktop.ScreenSaver");
// Applications use either path.
const QString Paths[] = {QStringLiteral("/org/freedesktop/ScreenSaver"),
                         QStringLiteral("/ScreenSaver")};

} // namespace

ScreenSaverService::ScreenSaverService(QDBusConnection connection, Report reported)
    : bus(std::move(connection)), report(std::move(reported)) {
    if (!bus.isConnected())
        return;
    callers.setConnection(bus);
    callers.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    // A caller that leaves the bus (ends, crashes) takes its cookies with it.
    connect(&callers, &QDBusServiceWatcher::serviceUnregistered, this,
            [this](const QString& who) { Forget(who); });
    for (const auto& path : Paths)
        bus.registerObject(path, this,
                           QDBusConnection::ExportScriptableSlots |
                               QDBusConnection::ExportNonScriptableSlots);
    const auto answer =
        bus.interface()->registerService(ServiceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    serving = answer.isValid() && answer.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!serving)
        for (const auto& path : Paths)
            bus.unregisterObject(path);
}

ScreenSaverService::~ScreenSaverService() {
    if (!serving)
        return;
    for (const auto& path : Paths)
        bus.unregisterObject(path);
    bus.interface()->unregisterService(ServiceName);
}

quint32 ScreenSaverService::Inhibit(const QString& application, const QString& reason) {
    const bool was = !holders.empty();
    // Never 0, which some callers read as "no cookie".
    if (++lastCookie == 0)
        ++lastCookie;
    const QString caller = calledFromDBus() ? message().service() : QString();
    holders[lastCookie] = {caller, application, reason};
    if (!caller.isEmpty() && !callers.watchedServices().contains(caller)) {
        callers.addWatchedService(caller);
        // One that left before the watch began (a dbus-send that does not wait, a crash) is
        // never reported gone: asked once the watch is in place, so no cookie outlives it.
        auto asked = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
        asked.setArguments({caller});
        WhenAnswered<bool>(bus, asked, this, [this, caller](bool present) {
            if (!present)
                Forget(caller);
        });
    }
    Changed(was);
    return lastCookie;
}

void ScreenSaverService::Forget(const QString& caller) {
    const bool was = !holders.empty();
    std::erase_if(holders,
                  [&caller](const auto& holder) { return holder.second.caller == caller; });
    callers.removeWatchedService(caller);
    Changed(was);
}

void ScreenSaverService::UnInhibit(quint32 cookie) {
    const bool was = !holders.empty();
    holders.erase(cookie);
    Changed(was);
}

QStringList ScreenSaverService::Inhibitors() const {
    QStringList said;
    for (const auto& [cookie, holder] : holders)
        said << holder.application << holder.reason;
    return said;
}

void ScreenSaverService::Changed(bool wasInhibited) {
    const bool now = !holders.empty();
    if (now != wasInhibited)
        report(now ? Edge::Inhibited : Edge::Released);
}

std::unique_ptr<ScreenSaverService> ScreenSaverService::Find(QDBusConnection bus, Report report) {
    auto service = std::make_unique<ScreenSaverService>(std::move(bus), std::move(report));
    if (!service->Serving())
        return nullptr;
    return service;
}

} // namespace ui::idle
