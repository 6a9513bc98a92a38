#include "setup/frmSetup.h"
#include "startup/ErrorReport.h"
#include "ui/WindowCalls.h"

void frmSetup::RoundOutline(ui::PictureButton& button) {
    // The region is the system's once handed over; it is neither kept nor deleted here.
    ui::SetWindowRgn(button.Handle(), ui::CreateRoundRectRgn(3, 4, 89, 30, 15, 15), true);
}

void frmSetup::cmdAbout_Click() {
    const bool shown = modMain::Trapped("Private Sub cmdAbout_Click", [this] {
        Form.Hide();
        if (!About)
            About.emplace(Form);
        About->Show(); // a failure of its load lands in this trap
    });
    // With the dialog hidden and no box in its place, nothing would be left to close.
    if (!shown && !Form.Visible() && !(About && About->Form.Visible()))
        Form.Show();
}

void frmSetup::cmdExit_Click() {
    modMain::Trapped("Private Sub cmdExit_Click", [this] { Form.Close(); });
}
