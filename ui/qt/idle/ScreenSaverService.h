#pragma once
// org.freedesktop.ScreenSaver's inhibit calls, served for the applications of a session where
// no other program serves them (a video player, a browser showing a video, a presentation).

#include "ui/qt/idle/Source.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QObject>
#include <map>
#include <memory>

namespace ui::idle {

class ScreenSaverService final : public QObject, public Source, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    // Inhibited while any caller holds a cookie, including until a caller that never gave its
    // cookie back leaves the bus; then Released. Null where another program owns the name.
    static std::unique_ptr<ScreenSaverService> Find(QDBusConnection bus, Report report);
    ScreenSaverService(QDBusConnection bus, Report report);
    ~ScreenSaverService() override;
    const char* Name() const override { return "org.freedesktop.ScreenSaver"; }
    // Whether this process now owns the name.
    bool Serving() const { return serving; }

public slots:
    quint32 Inhibit(const QString& application, const QString& reason);
    void UnInhibit(quint32 cookie);
    // Who holds the saver off now, for "moondial --check": each holder's application, then its
    // reason, as the callers gave them.
    QStringList Inhibitors() const;

private:
    void Changed(bool wasInhibited);
    // A caller gone from the bus: its cookies go with it.
    void Forget(const QString& caller);

    QDBusConnection bus;
    Report report;
    bool serving = false;
    quint32 lastCookie = 0;
    struct Holder {
        QString caller; // its unique bus name
        QString application;
        QString reason;
    };
    std::map<quint32, Holder> holders; // by cookie
    QDBusServiceWatcher callers;
};

} // namespace ui::idle
