#include "ui/qt/TerminationSignals.h"
#include "ui/qt/idle/ActivationToken.h"
#include "ui/qt/idle/DesktopDelays.h"
#include "ui/qt/idle/GnomeIdle.h"
#include "ui/qt/idle/PlasmaInhibitors.h"
#include "ui/qt/idle/ScreenSaverService.h"
#include "ui/qt/idle/SessionLocks.h"
#include "ui/qt/idle/WaylandIdle.h"
#include "ui/qt/idle/X11Idle.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
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

int Watch(int argc, char** argv, std::chrono::milliseconds timeout, Policy& policy) {
    QCoreApplication application(argc, argv);

    QProcess saver;
    saver.setProgram(QCoreApplication::applicationFilePath());
    saver.setArguments({QStringLiteral("/s")});
    saver.setProcessChannelMode(QProcess::ForwardedChannels);
    // A saver outliving a watcher that was killed outright would be left to the user.
    saver.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });

    // The policy's deadline (the timeout since an application's release), asked for again after
    // each decision; a coarse timer that fires early finds it not yet due and waits again.
    QTimer deadline;
    deadline.setSingleShot(true);
    // Ended before the event loop runs, there is no loop to end: the start-up ends instead.
    bool running = false;
    std::optional<Status> endedEarly;
    const auto carryOut = [&](const Decision& decision) {
        if (decision.endSaver)
            saver.terminate();
        if (decision.startSaver) {
            // Wayland compositors give the focus to a new window that brings a token.
            auto environment = QProcessEnvironment::systemEnvironment();
            if (const auto token = ActivationToken(); !token.empty())
                environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"),
                                   QString::fromStdString(token));
            saver.setProcessEnvironment(environment);
            saver.start();
        }
        if (decision.endWatcher) {
            if (*decision.endWatcher == SessionLost)
                std::fputs("moondial: the connection to the display was lost\n", stderr);
            if (running)
                QCoreApplication::exit(*decision.endWatcher);
            else
                endedEarly = decision.endWatcher;
        }
        if (const auto due = policy.Deadline())
            deadline.start(std::max(
                std::chrono::milliseconds(0),
                std::chrono::duration_cast<std::chrono::milliseconds>(*due - Clock::now())));
        else
            deadline.stop();
    };
    const auto reportAs = [&](Role role) -> Report {
        return [&, role](Edge edge) { carryOut(policy.After(role, edge, Clock::now())); };
    };
    QObject::connect(&deadline, &QTimer::timeout, [&] { carryOut(policy.At(Clock::now())); });
    const Report saverReport = reportAs(Role::Saver);
    QObject::connect(&saver, &QProcess::finished, [&] { saverReport(Edge::Gone); });
    QObject::connect(&saver, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            saverReport(Edge::Gone);
    });

    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool wayland = waylandDisplay && *waylandDisplay;
    auto bus = QDBusConnection::sessionBus();
    std::unique_ptr<Source> idle = WaylandIdle::Find(timeout, reportAs(Role::IdleSignal));
    if (!idle)
        idle = GnomeIdle::Find(bus, timeout, reportAs(Role::IdleSignal),
                               reportAs(Role::SessionManager));
    // Xwayland's idle time counts only the input its own clients get.
    if (!idle && !wayland)
        idle = X11Idle::Find(timeout, reportAs(Role::IdleSignal));
    if (!idle) {
        std::fputs("moondial: this session gives no idle signal (no Wayland idle protocol, "
                   "GNOME idle monitor or X11 screen-saver extension); have the desktop's own "
                   "idle tool run \"moondial /s\" instead\n",
                   stderr);
        return NoIdleSignal;
    }
    const auto inhibitors = ScreenSaverService::Find(bus, reportAs(Role::InhibitService));
    const PlasmaInhibitors plasma(bus, reportAs(Role::PlasmaAgent));
    const SessionLocks locks(
        QDBusConnection::systemBus(), bus,
        {reportAs(Role::LoginSession), reportAs(Role::SystemSleep), reportAs(Role::DesktopSaver)});
    std::fprintf(stderr, "moondial: starting the saver after %s without input (%s%s%s)\n",
                 Described(timeout).c_str(), idle->Name(), inhibitors ? ", serving " : "",
                 inhibitors ? inhibitors->Name() : "");

    // Said once, so it stands in the journal under the user service.
    for (const auto& earlier : EarlierDelays(DesktopDelays(), timeout))
        std::fprintf(stderr, "%s\n", earlier.c_str());

    ui::app::OnTerminationSignals([] { QCoreApplication::quit(); });
    if (endedEarly)
        return *endedEarly;
    running = true;
    const int status = QCoreApplication::exec();
    // The saver's end is no news now: nothing may start another on the way out.
    QObject::disconnect(&saver, nullptr, nullptr, nullptr);
    EndSaver(saver);
    return status;
}

} // namespace ui::idle
