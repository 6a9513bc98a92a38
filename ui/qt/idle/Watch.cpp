#include "ui/qt/Signals.h"
#include "ui/qt/idle/Sources.h"

#include <QCoreApplication>
#include <QProcess>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>

namespace ui::idle {

namespace {

void EndSaver(QProcess& saver) {
    if (saver.state() == QProcess::NotRunning)
        return;
    saver.terminate();
    if (!saver.waitForFinished(5000)) {
        saver.kill();
        saver.waitForFinished(5000);
    }
}

std::string Described(std::chrono::milliseconds timeout) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
    return seconds % 60 == 0 ? std::to_string(seconds / 60) + " min"
                             : std::to_string(seconds) + " s";
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

    // The session's idle source and the bus service may each hold the saver off.
    std::array<bool, 2> holding{};
    const auto reportFrom = [&](std::size_t which) {
        return [&, which](Event event) {
            if (event == Event::Inhibited || event == Event::Uninhibited) {
                const bool before = holding[0] || holding[1];
                holding[which] = event == Event::Inhibited;
                const bool now = holding[0] || holding[1];
                if (now == before)
                    return;
                event = now ? Event::Inhibited : Event::Uninhibited;
            }
            decide(event);
        };
    };
    const auto lost = [] {
        std::fputs("moondial: the connection to the display was lost\n", stderr);
        QCoreApplication::exit(1);
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
        return 1;
    }
    const auto inhibitors = ScreenSaverInhibitors(bus, reportFrom(1));
    // The lock screen wins: the saver ends when the session locks or sleeps.
    const auto locks = SessionLocks(QDBusConnection::systemBus(), bus, [&](Event event) {
        if (event == Event::SessionLocked)
            saver.terminate();
        decide(event);
    });
    std::fprintf(stderr, "moondial: starting the saver after %s without input (%s%s%s)\n",
                 Described(timeout).c_str(), idle->Name(), inhibitors ? ", serving " : "",
                 inhibitors ? inhibitors->Name() : "");

    ui::app::OnTerminationSignals([] { QCoreApplication::quit(); });
    const int status = QCoreApplication::exec();
    // The saver's end is no news now: nothing may start another on the way out.
    QObject::disconnect(&saver, nullptr, nullptr, nullptr);
    EndSaver(saver);
    return status;
}

} // namespace ui::idle
