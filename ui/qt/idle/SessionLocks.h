#pragma once
// Where the watcher hears that the session locks or sleeps, so that its saver never stands
// between the user and the lock screen: logind's Lock and Unlock for this login session and its
// PrepareForSleep, on the system bus; the desktop's own screen saver's ActiveChanged
// (org.freedesktop.ScreenSaver, org.gnome.ScreenSaver), on the session bus. Each tells Locked
// and Unlocked on its own.

#include "ui/qt/idle/Source.h"

#include <QDBusConnection>
#include <QObject>

namespace ui::idle {

class SessionLocks final : public QObject {
    Q_OBJECT
public:
    struct Reports {
        Report loginSession, systemSleep, desktopSaver;
    };
    SessionLocks(QDBusConnection system, QDBusConnection session, Reports reports);

private slots:
    void Lock() { Set(locked, true, reports.loginSession); }
    void Unlock() { Set(locked, false, reports.loginSession); }
    void PrepareForSleep(bool sleeping) { Set(asleep, sleeping, reports.systemSleep); }
    void ActiveChanged(bool active) { Set(desktopSaver, active, reports.desktopSaver); }

private:
    static void Set(bool& state, bool now, const Report& report);

    QDBusConnection system;
    Reports reports;
    bool locked = false;
    bool asleep = false;
    bool desktopSaver = false;
};

} // namespace ui::idle
