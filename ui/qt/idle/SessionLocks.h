#pragma once
// Where the watcher hears that the session locks or sleeps, so that its saver never stands
// between the user and the lock screen.

#include "ui/qt/idle/Sources.h"

#include <QObject>

namespace ui::idle {

class Locks final : public QObject {
    Q_OBJECT
public:
    Locks(QDBusConnection system, QDBusConnection session, Report report);

private slots:
    void Lock() { Set(locked, true); }
    void Unlock() { Set(locked, false); }
    void PrepareForSleep(bool sleeping) { Set(asleep, sleeping); }
    void ActiveChanged(bool active) { Set(desktopSaver, active); }

private:
    void Set(bool& state, bool now);

    QDBusConnection system;
    Report report;
    bool locked = false;
    bool asleep = false;
    bool desktopSaver = false;
};

} // namespace ui::idle
