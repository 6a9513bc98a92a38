#pragma once
// Where the watcher hears of the user: the session's idle signal, and its idle inhibitors.

#include "ui/Idle.h"

#include <QDBusConnection>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace ui::idle {

using Report = std::function<void(Event)>;

// Reports UserIdle after timeout without input and UserBack at the next input, and may report
// Inhibited and Uninhibited. Reports arrive from the event loop.
class Source {
public:
    virtual ~Source() = default;
    // What the user is told the watcher listens to.
    virtual const char* Name() const = 0;
};

// The Wayland compositor's idle notifications: ext-idle-notify-v1 where offered, KDE's
// org_kde_kwin_idle otherwise. The compositor's idle inhibitors hold them back by themselves.
// Null without a Wayland session or either protocol. lost is called if the compositor goes.
std::unique_ptr<Source> WaylandIdle(std::chrono::milliseconds timeout, Report report,
                                    std::function<void()> lost);

// A token from the Wayland compositor that lets the next window of the program take the focus
// (xdg-activation, passed on as XDG_ACTIVATION_TOKEN); empty where there is none.
std::string ActivationToken();

// GNOME's idle monitor and its session manager's idle inhibitors, over D-Bus. Null where the
// monitor does not run on this bus.
std::unique_ptr<Source> GnomeIdle(QDBusConnection bus, std::chrono::milliseconds timeout,
                                  Report report);

// The X server's own idle time (MIT-SCREEN-SAVER): asked again when the timeout can next be
// reached, and each second while the user is away. Null without an X display or the extension;
// lost is called if the server goes.
std::unique_ptr<Source> X11Idle(std::chrono::milliseconds timeout, Report report,
                                std::function<void()> lost);

// Plasma's power-management policy agent, to which KWin hands the inhibitions that players ask
// of the org.freedesktop.ScreenSaver it serves: Inhibited while it holds any that keeps the
// screen on, as Plasma's own screen locker asks it.
std::unique_ptr<QObject> PlasmaInhibitors(QDBusConnection bus, Report report);

// The session locking or sleeping: logind's Lock and Unlock for this login session and its
// PrepareForSleep, on the system bus; the desktop's own screen saver's ActiveChanged
// (org.freedesktop.ScreenSaver, org.gnome.ScreenSaver), on the session bus. Reports
// SessionLocked when the first of them begins and SessionUnlocked when the last has ended.
std::unique_ptr<QObject> SessionLocks(QDBusConnection system, QDBusConnection session,
                                      Report report);

// The org.freedesktop.ScreenSaver inhibit calls that applications make, served while no other
// program owns that name: Inhibited while any caller holds a cookie, including until a caller
// that never gave its cookie back leaves the bus. Null where the name is taken.
std::unique_ptr<Source> ScreenSaverInhibitors(QDBusConnection bus, Report report);

} // namespace ui::idle
