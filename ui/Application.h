#pragma once
// Facts about the running program and the entry into the backend's event loop.

#include "ui/Outside.h"

#include <cstdint>
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

// What the backend does with a failure that no routine trapped: it says so and ends.
[[noreturn]] void ReportUntrapped();

} // namespace ui::app
