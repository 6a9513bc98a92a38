#pragma once
// A desktop service that keeps whether anything holds the session awake and announces each
// change: GNOME's session manager, Plasma's power-management policy agent. The flag is asked
// for when the service appears and at each announcement; a service that goes holds nothing.
// Reports Inhibited and Released.

#include "ui/qt/idle/Source.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QStringList>
#include <QVariantList>

namespace ui::idle {

struct InhibitionCall {
    QString service, path, interface;
    QString method;            // answers a bool: held or not
    QVariantList arguments;    // which kinds of inhibition count
    QStringList announcements; // the signals after which to ask again
};

class InhibitionFlag : public QObject {
    Q_OBJECT
public:
    InhibitionFlag(QDBusConnection bus, InhibitionCall call, Report report);

private slots:
    void Ask();

private:
    void Set(bool now);

    QDBusConnection bus;
    InhibitionCall call;
    Report report;
    QDBusServiceWatcher owner;
    bool held = false;
};

} // namespace ui::idle
