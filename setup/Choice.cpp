#include "setup/frmSetup.h"
#include "startup/ErrorReport.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/Services.h"

namespace {

constexpr const char* GraphicsFilter = "Graphics Files (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg";

} // namespace

void frmSetup::ShowPathControls(bool shown) {
    lbl0.SetVisible(shown);
    txtFullPath.SetVisible(shown);
    cmdBrowse.SetVisible(shown);
}

// The index is not looked at: the custom picture's option alone decides.
void frmSetup::optScreenSaver_Click(int /*index*/) {
    modMain::Trapped("Private Sub optScreenSaver_Click",
                     [this] { ShowPathControls(optScreenSaver[3].Value()); });
}

// The chosen file is loaded at once, so that a missing or unreadable one is told while the
// user is still here. Cancelling the Open dialog changes nothing: the path box keeps the stored
// path, or whatever was typed since.
void frmSetup::cmdBrowse_Click() {
    try {
        const auto chosen = ui::ChooseFile(ui::app::Folder(), GraphicsFilter);
        if (!chosen)
            return;
        txtFullPath.SetText(*chosen);
        picCustom.SetPicture(ui::LoadPicture(txtFullPath.Text()));
    } catch (const ui::ProcessEnded&) {
        throw;
    } catch (...) {
        const ui::Error failure = ui::CurrentError();
        const auto warn = [this](const std::string& what, const std::string& title) {
            ui::ShowMessage(what + "\r\n\r\n" + txtFullPath.Text(), ui::ExclamationStyle, title);
            txtFullPath.SetText("N/A");
        };
        if (failure.Number == ui::errors::FileNotFound)
            warn("Custom graphic image not found.", "Moondial - Custom Image Not Found");
        else if (failure.Number == ui::errors::InvalidPicture)
            warn("Custom graphic image is corrupt.", "Moondial - Custom Image Corrupt");
        else
            modMain::ShowErrorReport("Private Sub cmdBrowse_Click", failure);
    }
}
