#include "startup/ModeWindows.h"

#include "saver/SaverWindows.h"
#include "setup/frmSetup.h"
#include "ui/Application.h"
#include "ui/WindowCalls.h"

namespace modMain {

void ShowSetupDialog(std::optional<std::int32_t> owner) {
    frmSetup& dialog = ui::app::Keep(std::make_shared<frmSetup>());
    if (owner) {
        const ui::WindowHandle window = ui::HandleFromNumber(*owner);
        if (ui::IsWindow(window) && !ui::IsDesktopWindow(window))
            dialog.Form.SetOwner(window);
    }
    dialog.Show();
}

void ShowSaverWindow() {
    ui::app::Keep(std::make_shared<SaverWindows>()).Show();
}

} // namespace modMain
