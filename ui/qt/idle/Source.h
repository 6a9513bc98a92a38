#pragma once
// What every source of the watcher's news is: it tells each change it sees, once, and nothing
// more; the program's policy combines them (ui/Idle.h).

#include "ui/Idle.h"

#include <functional>

namespace ui::idle {

using Report = std::function<void(Edge)>;

// A source the watcher can be said to listen to. Reports arrive from the event loop.
class Source {
public:
    virtual ~Source() = default;
    // What the user is told the watcher listens to.
    virtual const char* Name() const = 0;
};

} // namespace ui::idle
