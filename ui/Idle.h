#pragma once
// The session's idle signal, for a watcher that starts the saver after a time without input.
// The sources only tell what they see (ui/qt/idle/); when the saver starts is the program's
// policy, which alone combines them and keeps the time.

#include <chrono>
#include <optional>

namespace ui::idle {

// Who tells: the role of each source of news.
enum class Role {
    IdleSignal,     // the session's idle signal: Wayland's, GNOME's idle monitor or the X server's
    SessionManager, // GNOME's session manager's idle inhibitors
    InhibitService, // the org.freedesktop.ScreenSaver the watcher serves to applications
    PlasmaAgent,    // Plasma's power-management policy agent's inhibitions
    LoginSession,   // logind's lock of this login session
    SystemSleep,    // logind's news of the system going to sleep
    DesktopSaver,   // the desktop's own screen saver (ActiveChanged)
    Saver,          // the saver the watcher started
};

// What a source tells, each once per change.
enum class Edge {
    Idle,      // no input for the whole timeout
    Back,      // input again after Idle
    Inhibited, // an application holds the saver off (a video, a presentation)
    Released,  // it does no more
    Locked,    // the session is locked or asleep: the lock screen wins
    Unlocked,
    Gone, // the source went: the display or compositor, the saver's process
};

// How the watcher ends, for a service manager to tell what a restart can mend: a lost display
// or session bus can come back; no idle signal, a wrong command line or another watcher in the
// session cannot.
enum Status : int {
    Ended = 0,        // SIGTERM or SIGINT
    NoIdleSignal = 1, // the session has no idle signal the watcher knows
    BadCommandLine = 2,
    AlreadyWatching = 3, // another watcher runs in this session
    SessionLost = 4,     // the display or the compositor went away
};

using Clock = std::chrono::steady_clock;

// What the watcher does after a piece of news or at the policy's deadline.
struct Decision {
    bool startSaver = false; // "/s", a process of its own
    bool endSaver = false;
    std::optional<Status> endWatcher;
};

// The program's policy, asked after every piece of news, and again at its deadline.
class Policy {
public:
    virtual ~Policy() = default;
    virtual Decision After(Role from, Edge edge, Clock::time_point now) = 0;
    virtual Decision At(Clock::time_point now) = 0;
    // When At is to be asked next; none while nothing waits for the time.
    virtual std::optional<Clock::time_point> Deadline() const = 0;
};

// Runs the watcher until SIGTERM or SIGINT, which end it and the saver it started. Returns the
// process's exit code; where the session gives no idle signal it says so on the standard error
// at once.
int Watch(int argc, char** argv, std::chrono::milliseconds timeout, Policy& policy);

} // namespace ui::idle
