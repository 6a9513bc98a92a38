#include "ui/qt/idle/InhibitionFlag.h"

#include "ui/qt/idle/WhenAnswered.h"

namespace ui::idle {

InhibitionFlag::InhibitionFlag(QDBusConnection connection, InhibitionCall asked, Report reported)
    : bus(std::move(connection)), call(std::move(asked)), report(std::move(reported)) {
    if (!bus.isConnected())
        return;
    for (const auto& signal : call.announcements)
        bus.connect(call.service, call.path, call.interface, signal, this, SLOT(Ask()));
    // A service that restarts (a crash the session recovers from) is asked afresh; one that
    // goes takes its inhibitions along.
    owner.setConnection(bus);
    owner.addWatchedService(call.service);
    connect(&owner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty())
                    Set(false);
                else
                    Ask();
            });
    Ask(); // where the service does not run, the error answer says nothing held
}

void InhibitionFlag::Ask() {
    auto message =
        QDBusMessage::createMethodCall(call.service, call.path, call.interface, call.method);
    message.setArguments(call.arguments);
    message.setAutoStartService(false); // asked, never started for the asking
    WhenAnswered<bool>(bus, message, this, [this](bool now) { Set(now); });
}

void InhibitionFlag::Set(bool now) {
    if (now == held)
        return;
    held = now;
    report(now ? Edge::Inhibited : Edge::Released);
}

} // namespace ui::idle
