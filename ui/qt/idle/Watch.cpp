#include "ui/qt/TerminationSignals.h"
#include "ui/qt/idle/ActivationToken.h"
#include "ui/qt/idle/DesktopDelays.h"
#include "ui/qt/idle/IdleSignal.h"
#include "ui/qt/idle/PlasmaInhibitors.h"
#include "ui/qt/idle/ScreenSaverService.h"
#include "ui/qt/idle/SessionLocks.h"

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

// The saver as a process of its own ("/s"), which reports its end.
class SaverProcess {
public:
    explicit SaverProcess(Report ended) {
        saver_.setProgram(QCoreApplication::applicationFilePath());
        saver_.setArguments({QStringLiteral("/s")});
        saver_.setProcessChannelMode(QProcess::ForwardedChannels);
        // A saver outliving a watcher that was killed outright would be left to the user.
        saver_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QObject::connect(&saver_, &QProcess::finished, [ended] { ended(Edge::Gone); });
        QObject::connect(&saver_, &QProcess::errorOccurred, [ended](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                ended(Edge::Gone);
        });
    }
    // The saver's end is no news on the way out: nothing may start another then.
    ~SaverProcess() {
        QObject::disconnect(&saver_, nullptr, nullptr, nullptr);
        End();
    }

    void Start() {
        // Wayland compositors give the focus to a new window that brings a token.
        auto environment = QProcessEnvironment::systemEnvironment();
        if (const auto token = ActivationToken(); !token.empty())
            environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"),
                               QString::fromStdString(token));
        saver_.setProcessEnvironment(environment);
        saver_.start();
    }
    void Terminate() { saver_.terminate(); }

private:
    // Within a second, on a loaded machine too: a saver that has not ended by then is killed.
    void End() {
        if (saver_.state() == QProcess::NotRunning)
            return;
        saver_.terminate();
        if (!saver_.waitForFinished(700)) {
            saver_.kill();
            saver_.waitForFinished(5000);
        }
    }

    QProcess saver_;
};

} // namespace

int Watch(int argc, char** argv, std::chrono::milliseconds timeout, Policy& policy) {
    QCoreApplication application(argc, argv);

    // The policy's deadline (the timeout since an application's release), asked for again after
    // each decision; a coarse timer that fires early finds it not yet due and waits again.
    QTimer deadline;
    deadline.setSingleShot(true);
    std::optional<SaverProcess> saver;
    // Ended before the event loop runs, there is no loop to end: the start-up ends instead.
    bool running = false;
    std::optional<Status> endedEarly;
    const auto carryOut = [&](const Decision& decision) {
        if (decision.endSaver && saver)
            saver->Terminate();
        if (decision.startSaver && saver)
            saver->Start();
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
    const std::function<Report(Role)> reportAs = [&](Role role) -> Report {
        return [&, role](Edge edge) { carryOut(policy.After(role, edge, Clock::now())); };
    };
    QObject::connect(&deadline, &QTimer::timeout, [&] { carryOut(policy.At(Clock::now())); });
    saver.emplace(reportAs(Role::Saver));

    auto bus = QDBusConnection::sessionBus();
    const auto idle = FindIdleSignal(bus, timeout, reportAs);
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
    const auto earlier = EarlierDelays(DesktopDelays(), timeout);
    for (const auto& line : earlier)
        std::fprintf(stderr, "%s\n", line.c_str());
    if (!earlier.empty())
        std::fputs("moondial: \"moondial --check\" tells what else stands in the way\n", stderr);

    ui::app::OnTerminationSignals([] { QCoreApplication::quit(); });
    if (endedEarly)
        return *endedEarly;
    running = true;
    const int status = QCoreApplication::exec();
    saver.reset(); // the saver ends with the watcher
    return status;
}

} // namespace ui::idle
