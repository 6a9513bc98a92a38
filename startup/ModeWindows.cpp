#include "startup/ModeWindows.h"

#include "saver/frmMoondialMain.h"
#include "ui/Application.h"
#include "ui/Services.h"

namespace modMain {

// The setup dialog is not built yet: its mode ends at once, as an unrecognised switch does,
// rather than show a stand-in window.
void ShowSetupDialog() {
    ui::EndProgram();
}

void ShowSaverWindow() {
    ui::app::Keep(std::make_shared<frmMoondialMain>()).Show();
}

} // namespace modMain
