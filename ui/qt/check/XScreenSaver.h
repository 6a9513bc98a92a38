#pragma once
// XScreenSaver's own settings, as its daemon reads them: ~/.xscreensaver, else the machine's
// defaults. Whether its programs list names Moondial, whether Moondial is the one it shows, and
// after how long.

#include "ui/Check.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace ui::check {

struct XScreenSaverChoice {
    std::chrono::seconds timeout{600};
    std::string mode = "random";    // random, random-same, one, blank, off
    int selected = -1;              // the hack shown in mode "one", as the programs list counts
    std::optional<int> moondial;    // Moondial's place in the programs list
    bool moondialSwitchedOn = true; // not marked "-" in the list
};

// Reads the settings from the text of the file.
XScreenSaverChoice ParseXScreenSaverChoice(const std::string& text);
XScreenSaverChoice ReadXScreenSaverChoice();

// What the running daemon will do, and whether that is Moondial.
struct XScreenSaverVerdict {
    Finding finding;
    bool showsMoondial = false;
};
XScreenSaverVerdict Judge(const XScreenSaverChoice& choice);

} // namespace ui::check
