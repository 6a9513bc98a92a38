#include "startup/ModeWindows.h"

#include "ui/Services.h"

namespace modMain {

// The setup dialog and the saver window are not built yet: these modes end at once,
// as an unrecognised switch does, rather than show a stand-in window.
void ShowSetupDialog() {
    ui::EndProgram();
}

void ShowSaverWindow() {
    ui::EndProgram();
}

} // namespace modMain
