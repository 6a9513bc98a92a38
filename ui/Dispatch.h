#pragma once
// How a backend calls the program's handlers: a failure that no routine trapped is reported and
// ends the process, and never escapes into the window system.

#include "ui/Application.h"
#include "ui/Outside.h"

#include <functional>

namespace ui {

// Runs a call from the window system under the layer's last trap.
template <typename Call> void Guarded(Call&& call) {
    try {
        try {
            call();
        } catch (const ProcessEnded&) {
            throw;
        } catch (...) {
            app::ReportUntrapped();
        }
    } catch (const ProcessEnded&) {
        // A stand-in ended the process; the window system goes on for the test that drives it.
    }
}

template <typename... Args, typename... Given>
void Dispatch(const std::function<void(Args...)>& handler, Given&&... args) {
    if (handler)
        Guarded([&] { handler(std::forward<Given>(args)...); });
}

} // namespace ui
