#include "setup/frmAbout.h"
#include "ui/Application.h"
#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/Screen.h"
#include "ui/Services.h"
#include "ui/Units.h"
#include "ui/WindowCalls.h"

namespace {

constexpr ui::Color Blue = ui::Rgb(0, 0, 255);
// The globe's tooltip, and the name screen readers give it.
constexpr const char* HomePageTip = "Navigate to the Moondial Home Page";

constexpr const char* RightsNotice = "Copyright \xC2\xA9 2026 Quillon. All rights reserved.";
constexpr const char* LegalWarning =
    "Warning: this program is protected by copyright law and international treaties. "
    "Copying or distributing it, or any part of it, without the written permission of "
    "Quillon may result in severe civil and criminal penalties, and will be prosecuted to "
    "the maximum extent possible under the law.";

} // namespace

namespace setup {

std::string VersionText(int major, int minor, int revision) {
    return ui::ToText(major) + "." + ui::ToText(minor) + ui::ToText(revision);
}

std::string HomePageAddress() {
    return std::string("http://") + MOONDIAL_HOME_HOST + "/moondial.html";
}

} // namespace setup

frmAbout::frmAbout(ui::Form& owner)
    : cmdExit(Form, 6825, 3600, 1875, 375, ui::ResourcePicture("ok_bar"), "OK"),
      cmdNavitgate(Form, 3375, 2100, 855, 615, ui::ResourcePicture("globe"), HomePageTip),
      Image1(Form, 75, 75, 3075, 2670), Image2(Form, 3225, 225, 5715, 585),
      lbl0(Form, 3375, 1050, 1140, 315, "Version"), lbl1(Form, 4650, 1050, 1065, 315, "1.01"),
      Line1_0(Form, 240, 3000, 8775, 3000, ui::Rgb(255, 255, 255), 2),
      Line1_1(Form, 225, 3015, 8775, 3015, ui::Black, 1),
      lblCopyright(Form, 75, 3075, 8865, 240, RightsNotice, ui::Alignment::Center),
      lblDisclaimer(Form, 300, 3450, 6120, 900, LegalWarning), owner_(owner) {
    Form.SetCaption("Moondial - About");
    Form.SetBorderStyle(ui::BorderStyle::FixedToolWindow);
    Form.SetClientSize(9030, 4485);

    Image1.SetPicture(ui::ResourcePicture("logo"));
    Image2.SetPicture(ui::ResourcePicture("about_banner"));
    for (ui::Label* label : {&lbl0, &lbl1}) {
        label->SetFont({"Arial", 15.75, true});
        label->SetForeColor(Blue);
    }
    cmdNavitgate.SetToolTip(HomePageTip);
    lblCopyright.SetFont({"Arial", 8.25, true});
    lblDisclaimer.SetFont({"Arial", 8.25, false});
    lblDisclaimer.SetForeColor(ui::Black);

    Form.OnLoad = [this] { Form_Load(); };
    Form.OnUnload = [this] { Form_Unload(); };
    cmdNavitgate.OnClick = [this] { cmdNavitgate_Click(); };
    cmdExit.OnClick = [this] { cmdExit_Click(); };
    cmdExit.SetCancel();
}

// No trap of its own: a failure reaches the About button that opened the box.
void frmAbout::Form_Load() {
    Form.Move((ui::screen::WidthTwips() - Form.Width()) / 2,
              (ui::screen::HeightTwips() - Form.Height()) / 2);
    const ui::WindowHandle window = Form.Handle();
    const auto pixels = [window](double twips) { return ui::DevicePixels(window, twips); };
    ui::SetWindowPos(window, ui::TopmostWindow, pixels(Form.Left()), pixels(Form.Top()),
                     pixels(Form.Width()), pixels(Form.Height()),
                     ui::swp::ShowWindow | ui::swp::NoActivate);
    const ui::app::Version version = ui::app::ProgramVersion();
    const std::string versionText =
        setup::VersionText(version.Major, version.Minor, version.Revision);
    lbl1.SetCaption(versionText);
    // Two one-word labels a reader does not read out by themselves: said as the box opens.
    Form.SetDescription("Version " + versionText);
}

void frmAbout::Form_Unload() {
    owner_.Show();
}

// Every click opens another browser window, with one more attempt when the first fails.
void frmAbout::cmdNavitgate_Click() {
    const std::string address = setup::HomePageAddress();
    const auto attempt = [&address] {
        try {
            return ui::OpenUrl(address);
        } catch (const ui::Error&) {
            return false;
        }
    };
    if (!attempt())
        attempt();
}

void frmAbout::cmdExit_Click() {
    Form.Close();
}
