#include "ui/qt/check/Inhibitions.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <optional>

namespace ui::check {

namespace {

constexpr int Patience = 1000; // ms

struct Asked {
    std::optional<QDBusMessage> reply; // none where the call failed
    bool timedOut = false;
};

Asked Ask(QDBusConnection& bus, const QString& service, const QString& path,
          const QString& interface, const QString& method, const QVariantList& arguments = {}) {
    auto call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = bus.call(call, QDBus::Block, Patience);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        return {reply, false};
    return {std::nullopt,
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
                reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout")};
}

bool Runs(QDBusConnection& bus, const QString& service) {
    return bus.interface() && bus.interface()->isServiceRegistered(service).value();
}

Finding NoAnswer(const char* who) {
    return {Verdict::Note,
            std::string(who) + " did not answer within a second: its inhibitors are not known",
            {}};
}

Finding Holding(const std::string& who, const QString& application, const QString& reason) {
    std::string text = (application.isEmpty() ? std::string("an application")
                                              : "\"" + application.toStdString() + "\"") +
                       " holds the saver off through " + who;
    if (!reason.isEmpty())
        text += ": \"" + reason.toStdString() + "\"";
    return {Verdict::Problem, text,
            "end what it plays or shows, or close it; the saver counts the time away again once "
            "it lets go"};
}

// org.gnome.SessionManager: each inhibitor an object with its application, reason and flags.
bool Gnome(QDBusConnection& bus, Findings& findings) {
    const QString service = QStringLiteral("org.gnome.SessionManager");
    if (!Runs(bus, service))
        return false;
    const auto inhibitors = Ask(bus, service, QStringLiteral("/org/gnome/SessionManager"), service,
                                QStringLiteral("GetInhibitors"));
    if (!inhibitors.reply) {
        if (inhibitors.timedOut)
            findings.push_back(NoAnswer("GNOME's session manager"));
        return true;
    }
    QList<QDBusObjectPath> paths;
    inhibitors.reply->arguments().first().value<QDBusArgument>() >> paths;
    constexpr quint32 InhibitIdle = 8;
    const QString inhibitor = QStringLiteral("org.gnome.SessionManager.Inhibitor");
    for (const auto& path : paths) {
        const auto flags = Ask(bus, service, path.path(), inhibitor, QStringLiteral("GetFlags"));
        if (!flags.reply) {
            if (flags.timedOut) {
                findings.push_back(NoAnswer("GNOME's session manager"));
                return true;
            }
            continue;
        }
        if (!(flags.reply->arguments().first().toUInt() & InhibitIdle))
            continue;
        const auto app = Ask(bus, service, path.path(), inhibitor, QStringLiteral("GetAppId"));
        const auto reason = Ask(bus, service, path.path(), inhibitor, QStringLiteral("GetReason"));
        findings.push_back(Holding(
            "GNOME's session manager", app.reply ? app.reply->arguments().first().toString() : "",
            reason.reply ? reason.reply->arguments().first().toString() : ""));
    }
    return true;
}

// Plasma's policy agent: whether the screen is held, then who holds what.
bool Plasma(QDBusConnection& bus, Findings& findings) {
    const QString agent = QStringLiteral("org.kde.Solid.PowerManagement.PolicyAgent");
    const QString path = QStringLiteral("/org/kde/Solid/PowerManagement/PolicyAgent");
    if (!Runs(bus, agent))
        return false;
    constexpr quint32 ChangeScreenSettings = 4;
    const auto held = Ask(bus, agent, path, agent, QStringLiteral("HasInhibition"),
                          {QVariant::fromValue(ChangeScreenSettings)});
    if (!held.reply) {
        if (held.timedOut)
            findings.push_back(NoAnswer("Plasma's power management"));
        return true;
    }
    if (!held.reply->arguments().first().toBool())
        return true;
    const auto list = Ask(bus, agent, path, agent, QStringLiteral("ListInhibitions"));
    bool named = false;
    if (list.reply) {
        const QDBusArgument argument = list.reply->arguments().first().value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            QString application, reason;
            argument.beginStructure();
            argument >> application >> reason;
            argument.endStructure();
            findings.push_back(Holding("Plasma's power management", application, reason));
            named = true;
        }
        argument.endArray();
    }
    if (!named)
        findings.push_back(Holding("Plasma's power management", {}, {}));
    return true;
}

// The watcher's own org.freedesktop.ScreenSaver, where it serves the name: its callers. Another
// program serving it (KWin) knows no such call; it hands its callers to Plasma's agent.
bool Watcher(QDBusConnection& bus, Findings& findings) {
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    if (!Runs(bus, service))
        return false;
    const auto held = Ask(bus, service, QStringLiteral("/org/freedesktop/ScreenSaver"), service,
                          QStringLiteral("Inhibitors"));
    if (!held.reply) {
        if (held.timedOut)
            findings.push_back(NoAnswer("The program serving org.freedesktop.ScreenSaver"));
        return false;
    }
    const QStringList said = held.reply->arguments().first().toStringList();
    for (int at = 0; at + 1 < said.size(); at += 2)
        findings.push_back(
            Holding("the watcher's org.freedesktop.ScreenSaver", said[at], said[at + 1]));
    return true;
}

} // namespace

Findings Inhibitions(QDBusConnection bus) {
    Findings findings;
    if (!bus.isConnected())
        return findings;
    const bool gnome = Gnome(bus, findings);
    const bool plasma = Plasma(bus, findings);
    const bool watcher = Watcher(bus, findings);
    if ((gnome || plasma || watcher) && findings.empty())
        findings.push_back({Verdict::Ok, "no application holds the saver off now", {}});
    return findings;
}

} // namespace ui::check
