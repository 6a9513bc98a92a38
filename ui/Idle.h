#pragma once
// The session's idle signal, for a watcher that starts the saver after a time without input.

#include <chrono>
#include <functional>

namespace ui::idle {

enum class Event {
    UserIdle,    // no input for the whole timeout
    UserBack,    // input again after UserIdle
    Inhibited,   // an application holds the saver off (a video, a presentation)
    Uninhibited, // no application does any more
    // The timeout has passed since the last Uninhibited: time away counts from a release too.
    ReleaseTimedOut,
    SaverEnded, // the saver started by the watcher ended
    // The session locks or sleeps (its locker, the desktop's own screen saver, or the system
    // suspending): the saver started by the watcher has already been ended. And the end of it.
    SessionLocked,
    SessionUnlocked,
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

// Runs the watcher until SIGTERM or SIGINT, which end it and the saver it started. After each
// event the program says whether the saver ("/s", a process of its own) starts now. Returns
// the process's exit code; where the session gives no idle signal it says so on the standard
// error at once.
int Watch(int argc, char** argv, std::chrono::milliseconds timeout,
          const std::function<bool(Event)>& startSaverAfter);

} // namespace ui::idle
