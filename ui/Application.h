#pragma once
// Facts about the running program and the entry into the backend's event loop.

#include "ui/Outside.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui::app {

inline std::string CommandLine() {
    return World().CommandLine();
}

inline std::vector<std::string> Arguments() {
    return World().Arguments();
}

inline bool AnotherInstanceRunning() {
    return World().AnotherInstanceRunning();
}

struct Version {
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
};
Version ProgramVersion();

// The file description of the program's version information; empty when it has none.
std::string FileDescription();

// The folder that holds the program file, without a trailing separator.
std::string Folder();

// Runs the program: calls main once, then delivers events while any window is open.
// Returns the process's exit code. A run whose command line names another program's windows
// (a preview pane, a screen-saver daemon's window) is given the display system those windows
// belong to: on a Wayland desktop, X11 through its Xwayland.
int Run(int argc, char** argv, void (*main)(), bool namesOtherWindows = false);

// Keeps a window of the program alive for the rest of the run; Run destroys it on return.
void KeepWindow(std::shared_ptr<void> window);
template <typename Window> Window& Keep(std::shared_ptr<Window> window) {
    Window& kept = *window;
    KeepWindow(std::move(window));
    return kept;
}
// Destroys the kept windows (called by Run before the window system goes).
void ReleaseWindows();

// Whether the program can run as a hack of an X11 screen-saver daemon (Linux).
bool RunsScreenSaverHacks();

// For a program drawing on a locked screen: from now on no message box shows; what one would
// say goes to the standard error, where the daemon keeps it.
void KeepMessageBoxesOff();
bool MessageBoxesOff();

// SIGTERM and SIGINT end the process at once, as the end of the process does (Linux; the
// daemon sends them). Nothing elsewhere.
void EndOnTerminationSignals();

// What the backend does with a failure that no routine trapped: it says so and ends.
[[noreturn]] void ReportUntrapped();

} // namespace ui::app
