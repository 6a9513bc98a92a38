#include "ui/qt/idle/SessionLocks.h"

#include "ui/qt/idle/WhenAnswered.h"

#include <QDBusObjectPath>
#include <cstdio>
#include <cstdlib>

namespace ui::idle {

namespace {

const QString Login = QStringLiteral("org.freedesktop.login1");
const QString LoginPath = QStringLiteral("/org/freedesktop/login1");
const QString LoginManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString LoginSession = QStringLiteral("org.freedesktop.login1.Session");

// The login session of the desktop: the one this process was started in, or, for a user
// service that runs outside any, logind's choice of the user's display session ("auto").
QString SessionId() {
    const char* id = std::getenv("XDG_SESSION_ID");
    return QString::fromLocal8Bit(id && *id ? id : "auto");
}

} // namespace

SessionLocks::SessionLocks(QDBusConnection systemBus, QDBusConnection session, Reports told)
    : system(std::move(systemBus)), reports(std::move(told)) {
    // Any sender: KDE's and GNOME's lockers announce themselves under their own names.
    for (const auto* interface : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"})
        session.connect(QString(), QString(), QString::fromLatin1(interface),
                        QStringLiteral("ActiveChanged"), this, SLOT(ActiveChanged(bool)));
    if (!system.isConnected())
        return;
    system.connect(Login, LoginPath, LoginManager, QStringLiteral("PrepareForSleep"), this,
                   SLOT(PrepareForSleep(bool)));
    auto call = QDBusMessage::createMethodCall(Login, LoginPath, LoginManager,
                                               QStringLiteral("GetSession"));
    call.setArguments({SessionId()});
    WhenAnswered<QDBusObjectPath>(
        system, call, this,
        [this](const QDBusObjectPath& path) {
            system.connect(Login, path.path(), LoginSession, QStringLiteral("Lock"), this,
                           SLOT(Lock()));
            system.connect(Login, path.path(), LoginSession, QStringLiteral("Unlock"), this,
                           SLOT(Unlock()));
        },
        [](const QDBusError& error) {
            std::fprintf(stderr,
                         "moondial: no login session to follow (%s): a lock will not "
                         "end the saver\n",
                         qPrintable(error.message()));
        });
}

void SessionLocks::Set(bool& state, bool now, const Report& report) {
    if (state == now)
        return;
    state = now;
    report(now ? Edge::Locked : Edge::Unlocked);
}

} // namespace ui::idle
