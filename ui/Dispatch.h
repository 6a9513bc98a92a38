#pragma once
// How a backend calls the program's handlers: a failure that no routine trapped is reported and
// ends the process, and never escapes into the window system.

#include "ui/Application.h"
#include "ui/Outside.h"

#include <functional>

namespace ui {

template <typename... Args, typename... Given>
void Dispatch(const std::function<void(Args...)>& handler, Given&&... args) {
    if (!handler)
        return;
    try {
        try {
            handler(std::forward<Given>(args)...);
        } catch (const ProcessEnded&) {
            throw;
        } catch (...) {
            app::ReportUntrapped();
        }
    } catch (const ProcessEnded&) {
        // A stand-in ended the process; the window system goes on for the test that drives it.
    }
}

} // namespace ui
