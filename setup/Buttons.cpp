#include "setup/frmSetup.h"
#include "startup/ErrorReport.h"
#include "ui/Units.h"
#include "ui/WindowCalls.h"

void frmSetup::RoundOutline(ui::PictureButton& button) {
    // The region is the system's once handed over; it is neither kept nor deleted here. Its
    // corners are given in the system's device pixels.
    const double scale = ui::WindowScale(button.Handle());
    const auto pixels = [scale](int logical) {
        return static_cast<int>(ui::LogicalToDevice(logical, scale));
    };
    ui::SetWindowRgn(button.Handle(),
                     ui::CreateRoundRectRgn(pixels(3), pixels(4), pixels(89), pixels(30),
                                            pixels(15), pixels(15)),
                     true);
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
