#pragma once
// What starts the saver in this session: XScreenSaver's daemon, the program's own idle watcher
// (a process, or the user service), a Wayland desktop's idle tool; and when nothing does, the
// one way to have it started on this desktop.

#include "ui/Check.h"
#include "ui/qt/check/Processes.h"

#include <chrono>
#include <optional>

namespace ui::check {

struct Starters {
    Findings findings;
    // The shortest time away after which one of them starts Moondial; none when nothing will.
    std::optional<std::chrono::milliseconds> delay;
    bool watcher = false; // the program's own watcher starts it, on the session's idle signal
};

Starters FindStarters(const std::vector<Process>& processes);

} // namespace ui::check
