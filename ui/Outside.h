#pragma once
// The world outside the program: what a person answers, the clock, other processes and the
// end of the process. The backend fills the table with the real services; tests may replace
// entries, and nothing else in the program or the layer may.

#include "ui/Screen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct LocalTime {
    int Hour = 0;   // 0 to 23
    int Minute = 0; // 0 to 59
    int Second = 0; // 0 to 59
    double SecondsSinceMidnight = 0;
};

// What a stand-in for the end of the process throws instead of ending it. Traps let it pass.
struct ProcessEnded {};

struct Outside {
    // A modal message box with one OK button; returns when the person has closed it.
    std::function<void(const std::string& text, int style, const std::string& title)> ShowMessage;
    // The command line without the program's path and the blanks after it, in UTF-8; and the
    // same as the separate arguments the system split it into.
    std::function<std::string()> CommandLine;
    std::function<std::vector<std::string>()> Arguments;
    // Whether another process of this program runs beside this one.
    std::function<bool()> AnotherInstanceRunning;
    std::function<LocalTime()> Now;
    // The system's Open dialog, modal, starting in a folder, offering files by a filter in the
    // "description|patterns" form; the chosen file's full path, nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& folder, const std::string& filter)>
        ChooseFile;
    // Opens an address in a new window of the user's web browser; false when it could not.
    std::function<bool(const std::string& address)> OpenUrl;
    // The desktop's monitors, the primary first.
    std::function<std::vector<screen::Monitor>()> Monitors;
    // Ends the process at once: no further event or close handler runs. Never returns.
    std::function<void()> EndProcess;
};

// The process's table. Starts as the backend's real services.
Outside& World();

// The real services (ui/System.h, the platform's own, behind them).
Outside RealWorld();

} // namespace ui
