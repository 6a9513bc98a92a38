#include "ui/qt/check/Starters.h"

#include "ui/Duration.h"
#include "ui/qt/check/XScreenSaver.h"
#include "ui/qt/idle/DesktopDelays.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <map>

namespace ui::check {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr const char* Service = "moondial-idle.service";

bool OnDesktop(const char* name) {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP")
        .split(QLatin1Char(':'))
        .contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}

bool NamesMoondial(const std::string& text) {
    return QString::fromStdString(text).contains(QStringLiteral("moondial"), Qt::CaseInsensitive);
}

void Shortest(std::optional<milliseconds>& delay, milliseconds candidate) {
    if (!delay || candidate < *delay)
        delay = candidate;
}

// The user service as systemd tells it, asked for a second at most; empty when systemd did not
// answer or has no such unit.
std::map<std::string, std::string> ServiceState(Findings& findings) {
    QProcess systemctl;
    systemctl.start(QStringLiteral("systemctl"),
                    {QStringLiteral("--user"), QStringLiteral("show"), QString::fromLatin1(Service),
                     QStringLiteral("--property=LoadState,UnitFileState,ActiveState,Result,"
                                    "ExecMainStatus,ExecStart")});
    if (!systemctl.waitForStarted(1000))
        return {};
    if (!systemctl.waitForFinished(1000)) {
        systemctl.kill();
        systemctl.waitForFinished(1000);
        findings.push_back(Note("systemd's user manager did not answer within a second"));
        return {};
    }
    std::map<std::string, std::string> state;
    for (const QString& line : QString::fromUtf8(systemctl.readAllStandardOutput()).split('\n'))
        if (const auto equals = line.indexOf(QLatin1Char('=')); equals > 0)
            state[line.left(equals).toStdString()] = line.mid(equals + 1).trimmed().toStdString();
    if (state["LoadState"] != "loaded")
        return {};
    return state;
}

const char* WhatStatusMeans(const std::string& status) {
    if (status == "1")
        return "this session gives no idle signal the watcher knows";
    if (status == "2")
        return "its command line is wrong";
    if (status == "3")
        return "another idle watcher already ran in this session";
    if (status == "4")
        return "the display or compositor went away";
    return "it ended with an error";
}

std::string ValueOf(const std::map<std::string, std::string>& state, const char* key) {
    const auto found = state.find(key);
    return found == state.end() ? std::string() : found->second;
}

std::string FixFor(const std::string& status) {
    const std::string service = Service;
    if (status == "1")
        return "have the desktop's own idle tool run \"moondial /s\" instead";
    if (status == "4")
        return "systemctl --user restart " + service;
    return "journalctl --user -u " + service + " tells why; then systemctl --user restart " +
           service;
}

void UserService(const std::map<std::string, std::string>& state, Starters& starters) {
    if (state.empty())
        return;
    const bool enabled = ValueOf(state, "UnitFileState") == "enabled";
    const std::string active = ValueOf(state, "ActiveState");
    std::string text = "the user service ";
    text += Service;
    if (active == "active") {
        // "{ path=/usr/bin/moondial ; argv[]=moondial --idle 10 ; ... }": its duration.
        const QString start = QString::fromStdString(ValueOf(state, "ExecStart"));
        static const QRegularExpression watch(QStringLiteral("--idle\\s+(\\S+)"));
        const auto duration = watch.match(start);
        const auto after =
            duration.hasMatch() ? ParseDuration(duration.captured(1).toStdString()) : std::nullopt;
        text += enabled ? " runs (enabled)"
                        : " runs (not enabled: it will not start at the next login)";
        if (after) {
            text += ": it starts Moondial after " + idle::Described(*after) + " without input";
            Shortest(starters.delay, *after);
            starters.watcher = true;
        }
        starters.findings.push_back(enabled ? Ok(text) : Note(text));
    } else if (active == "failed") {
        const std::string status = ValueOf(state, "ExecMainStatus");
        text += " failed, its last exit status ";
        text += status;
        text += ": ";
        text += WhatStatusMeans(status);
        starters.findings.push_back(Problem(text, FixFor(status)));
    } else if (enabled) {
        text += " is enabled but not running: it starts with the next login";
        starters.findings.push_back(Note(text));
    }
}

// swayidle -w timeout 600 'moondial /s' ...
void SwayIdle(const std::vector<Process>& processes, Starters& starters) {
    for (const auto& process : Named(processes, "swayidle")) {
        const auto& arguments = process.arguments;
        std::optional<milliseconds> after;
        for (std::size_t at = 0; at + 2 < arguments.size(); ++at)
            if (arguments[at] == "timeout" && NamesMoondial(arguments[at + 2]))
                try {
                    after = seconds(std::stol(arguments[at + 1]));
                } catch (...) {
                }
        if (!after) {
            starters.findings.push_back(Note("swayidle runs (process " +
                                             std::to_string(process.pid) +
                                             ") with no timeout that starts Moondial"));
            continue;
        }
        starters.findings.push_back(Ok("swayidle starts Moondial after " + idle::Described(*after) +
                                       " (process " + std::to_string(process.pid) + ")"));
        Shortest(starters.delay, *after);
    }
}

// A listener of ~/.config/hypr/hypridle.conf whose on-timeout names Moondial.
void HyprIdle(const std::vector<Process>& processes, Starters& starters) {
    if (Named(processes, "hypridle").empty())
        return;
    QFile file(QDir::home().filePath(QStringLiteral(".config/hypr/hypridle.conf")));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "";
    static const QRegularExpression listener(QStringLiteral("listener\\s*\\{([^}]*)\\}"));
    static const QRegularExpression timeout(QStringLiteral("timeout\\s*=\\s*(\\d+)"));
    for (auto found = listener.globalMatch(text); found.hasNext();) {
        const QString block = found.next().captured(1);
        const auto time = timeout.match(block);
        if (block.contains(QStringLiteral("moondial"), Qt::CaseInsensitive) && time.hasMatch()) {
            const milliseconds after = seconds(time.captured(1).toLong());
            starters.findings.push_back(
                Ok("hypridle starts Moondial after " + idle::Described(after)));
            Shortest(starters.delay, after);
            return;
        }
    }
    starters.findings.push_back(Note("hypridle runs with no listener that starts Moondial"));
}

// The way to have Moondial started on this desktop.
std::string WayToStart(bool serviceInstalled) {
    if (OnDesktop("sway"))
        return "add  exec swayidle -w timeout 600 'moondial /s'  to ~/.config/sway/config";
    if (OnDesktop("Hyprland"))
        return "add  listener { timeout = 600; on-timeout = moondial /s }  to "
               "~/.config/hypr/hypridle.conf and run hypridle";
    if (serviceInstalled)
        return "systemctl --user enable --now moondial-idle.service";
    return "have your session start  moondial --idle 10  when you log in";
}

} // namespace

Starters FindStarters(const std::vector<Process>& processes) {
    Starters starters;
    for (const auto& daemon : Named(processes, "xscreensaver")) {
        const auto choice = ReadXScreenSaverChoice();
        auto verdict = Judge(choice);
        verdict.finding.text += " (process " + std::to_string(daemon.pid) + ")";
        starters.findings.push_back(verdict.finding);
        if (verdict.showsMoondial)
            Shortest(starters.delay, choice.timeout);
        break;
    }
    if (!Named(processes, "xfce4-screensaver").empty())
        starters.findings.push_back(Note(
            "xfce4-screensaver runs: it shows Moondial when Moondial is chosen in its settings "
            "(xfce4-screensaver-preferences)"));
    for (const auto& process : Named(processes, "moondial")) {
        const auto& arguments = process.arguments;
        if (arguments.size() != 3 || QString::fromStdString(arguments[1]).toLower() != "--idle")
            continue;
        if (const auto after = ParseDuration(arguments[2])) {
            starters.findings.push_back(Ok("moondial --idle " + arguments[2] + " runs (process " +
                                           std::to_string(process.pid) +
                                           "): it starts Moondial after " +
                                           idle::Described(*after) + " without input"));
            Shortest(starters.delay, *after);
            starters.watcher = true;
        }
    }
    const auto service = ServiceState(starters.findings);
    UserService(service, starters);
    SwayIdle(processes, starters);
    HyprIdle(processes, starters);
    const bool xfce = !Named(processes, "xfce4-screensaver").empty();
    if (!starters.delay && !xfce)
        starters.findings.push_back(
            Problem("nothing starts Moondial in this session", WayToStart(!service.empty())));
    return starters;
}

} // namespace ui::check
