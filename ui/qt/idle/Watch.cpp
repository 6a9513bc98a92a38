#include "ui/qt/TerminationSignals.h"
#include "ui/qt/idle/DesktopDelays.h"
#include "ui/qt/idle/Sources.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>

namespace ui::idle {

namespace {

// Within a second, on a loaded machine too: a saver that has not ended by then is killed.
void EndSaver(QProcess& saver) {
    if (saver.state() == QProcess::NotRunning)
        return;
    saver.terminate();
    if (!saver.waitForFinished(700)) {
        saver.kill();
        saver.waitForFinished(5000);
    }
}

} // namespace

int Watch(int argc, char** argv, std::chrono::milliseconds timeout,
          const std::function<bool(Event)>& startSaverAfter) {
    QCoreApplication application(argc, argv);

    QProcess saver;
    saver.setProgram(QCoreApplication::applicationFilePath());
    saver.setArguments({QStringLiteral("/s")});
    saver.setProcessChannelMode(QProcess::ForwardedChannels);
    // A saver outliving a watcher that was killed outright would be left to the user.
    saver.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    const auto decide = [&](Event event) {
        if (!startSaverAfter(event))
            return;
        // Wayland compositors give the focus to a new window that brings a token.
        auto environment = QProcessEnvironment::systemEnvironment();
        if (const auto token = ActivationToken(); !token.empty())
            environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"),
                               QString::fromStdString(token));
        saver.setProcessEnvironment(environment);
        saver.start();
    };
    QObject::connect(&saver, &QProcess::finished, [&] { decide(Event::SaverEnded); });
    QObject::connect(&saver, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            decide(Event::SaverEnded);
    });

    // The timeout counts again from an application's release.
    QTimer sinceRelease;
    sinceRelease.setSingleShot(true);
    sinceRelease.setInterval(timeout);
    QObject::connect(&sinceRelease, &QTimer::timeout, [&] { decide(Event::ReleaseTimedOut); });

    // The session's idle source, the bus service and Plasma's policy agent may each hold the
    // saver off.
    std::array<bool, 3> holding{};
    const auto anyHolding = [&] {
        return std::find(holding.begin(), holding.end(), true) != holding.end();
    };
    const auto reportFrom = [&](std::size_t which) {
        return [&, which](Event event) {
            if (event == Event::Inhibited || event == Event::Uninhibited) {
                const bool before = anyHolding();
                holding[which] = event == Event::Inhibited;
                const bool now = anyHolding();
                if (now == before)
                    return;
                event = now ? Event::Inhibited : Event::Uninhibited;
                if (now)
                    sinceRelease.stop();
                else
                    sinceRelease.start();
            }
            decide(event);
        };
    };
    // Lost before the event loop runs, there is no loop to end: the start-up ends instead.
    bool running = false, lostEarly = false;
    const auto lost = [&] {
        std::fputs("moondial: the connection to the display was lost\n", stderr);
        if (running)
            QCoreApplication::exit(SessionLost);
        else
            lostEarly = true;
    };

    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool wayland = waylandDisplay && *waylandDisplay;
    auto bus = QDBusConnection::sessionBus();
    std::unique_ptr<Source> idle = WaylandIdle(timeout, reportFrom(0), lost);
    if (!idle)
        idle = GnomeIdle(bus, timeout, reportFrom(0));
    // Xwayland's idle time counts only the input its own clients get.
    if (!idle && !wayland)
        idle = X11Idle(timeout, reportFrom(0), lost);
    if (!idle) {
        std::fputs("moondial: this session gives no idle signal (no Wayland idle protocol, "
                   "GNOME idle monitor or X11 screen-saver extension); have the desktop's own "
                   "idle tool run \"moondial /s\" instead\n",
                   stderr);
        return NoIdleSignal;
    }
    const auto inhibitors = ScreenSaverInhibitors(bus, reportFrom(1));
    const auto plasma = PlasmaInhibitors(bus, reportFrom(2));
    // The lock screen wins: the saver ends when the session locks or sleeps.
    const auto locks = SessionLocks(QDBusConnection::systemBus(), bus, [&](Event event) {
        if (event == Event::SessionLocked)
            saver.terminate();
        decide(event);
    });
    std::fprintf(stderr, "moondial: starting the saver after %s without input (%s%s%s)\n",
                 Described(timeout).c_str(), idle->Name(), inhibitors ? ", serving " : "",
                 inhibitors ? inhibitors->Name() : "");

    // Said once, so it stands in the journal under the user service.
    for (const auto& earlier : EarlierDelays(DesktopDelays(), timeout))
        std::fprintf(stderr, "%s\n", earlier.c_str());

    ui::app::OnTerminationSignals([] { QCoreApplication::quit(); });
    if (lostEarly)
        return SessionLost;
    running = true;
    const int status = QCoreApplication::exec();
    // The saver's end is no news now: nothing may start another on the way out.
    QObject::disconnect(&saver, nullptr, nullptr, nullptr);
    EndSaver(saver);
    return status;
}

} // namespace ui::idle
