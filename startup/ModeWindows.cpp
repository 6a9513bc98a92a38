#include "startup/ModeWindows.h"

#include "saver/frmMoondialMain.h"
#include "setup/frmSetup.h"
#include "ui/Application.h"

namespace modMain {

void ShowSetupDialog() {
    ui::app::Keep(std::make_shared<frmSetup>()).Show();
}

void ShowSaverWindow() {
    ui::app::Keep(std::make_shared<frmMoondialMain>()).Show();
}

} // namespace modMain
