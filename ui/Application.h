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
// Returns the process's exit code.
int Run(int argc, char** argv, void (*main)());

// Keeps a window of the program alive for the rest of the run; Run destroys it on return.
void KeepWindow(std::shared_ptr<void> window);
template <typename Window> Window& Keep(std::shared_ptr<Window> window) {
    Window& kept = *window;
    KeepWindow(std::move(window));
    return kept;
}
// Destroys the kept windows (called by Run before the window system goes).
void ReleaseWindows();

// What the backend does with a failure that no routine trapped: it says so and ends.
[[noreturn]] void ReportUntrapped();

} // namespace ui::app
