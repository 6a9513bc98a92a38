// The check on Linux: the session, its idle signal, what starts the saver, what holds it off and
// what comes before it, then the program's own findings, on the standard output.

#include "ui/Check.h"
#include "ui/qt/check/Inhibitions.h"
#include "ui/qt/check/Starters.h"
#include "ui/qt/idle/DesktopDelays.h"
#include "ui/qt/idle/IdleSignal.h"

#include <QCoreApplication>
#include <cstdio>

namespace ui::check {

namespace {

Finding Session() {
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!wayland && !x11)
        return {Verdict::Problem,
                "no graphical session here: neither WAYLAND_DISPLAY nor DISPLAY is set",
                "run moondial --check in a terminal of your desktop session"};
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    return {Verdict::Ok,
            std::string(wayland ? "a Wayland session" : "an X11 session") + " (" +
                (desktop.isEmpty() ? std::string("no desktop named in XDG_CURRENT_DESKTOP")
                                   : desktop.toStdString()) +
                ")",
            {}};
}

// The one the watcher would listen to; it matters where the watcher starts the saver, or would.
Finding IdleSignal(const Starters& starters) {
    const auto found = idle::FindIdleSignal(QDBusConnection::sessionBus(), std::chrono::minutes(10),
                                            [](idle::Role) { return [](idle::Edge) {}; });
    if (found)
        return {
            Verdict::Ok, std::string("the idle signal a watcher uses here: ") + found->Name(), {}};
    return {starters.watcher || !starters.delay ? Verdict::Problem : Verdict::Note,
            "this session gives no idle signal the watcher knows (no Wayland idle protocol, "
            "GNOME idle monitor or X11 screen-saver extension)",
            "have the desktop's own idle tool run \"moondial /s\""};
}

// The desktop's own blank or lock delays and the X server's, against the saver's.
Findings Delays(const Starters& starters) {
    if (!starters.delay)
        return {};
    const std::string saver = idle::Described(*starters.delay);
    Findings findings;
    for (const auto& delay : idle::Earlier(idle::DesktopDelays(), *starters.delay))
        findings.push_back({Verdict::Problem,
                            delay.what.toStdString() + " after " + idle::Described(delay.after) +
                                ", before Moondial's " + saver,
                            "set " + delay.setting.toStdString() + " longer than " + saver});
    if (findings.empty())
        findings.push_back(
            {Verdict::Ok, "nothing blanks or locks the screen before Moondial's " + saver, {}});
    return findings;
}

} // namespace

int Run(int argc, char** argv, const std::function<Findings()>& own) {
    QCoreApplication application(argc, argv);
    Findings findings{Session()};
    const Starters starters = FindStarters(SessionProcesses());
    findings.push_back(IdleSignal(starters));
    findings.insert(findings.end(), starters.findings.begin(), starters.findings.end());
    const Findings held = Inhibitions(QDBusConnection::sessionBus());
    findings.insert(findings.end(), held.begin(), held.end());
    const Findings delays = Delays(starters);
    findings.insert(findings.end(), delays.begin(), delays.end());
    const Findings stored = own();
    findings.insert(findings.end(), stored.begin(), stored.end());
    std::fputs(Report(findings).c_str(), stdout);
    std::fflush(stdout);
    return ExitStatus(findings);
}

} // namespace ui::check
