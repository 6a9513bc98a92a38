#include "setup/frmSetup.h"
#include "startup/ErrorReport.h"
#include "startup/modMain.h"
#include "ui/Convert.h"
#include "ui/Screen.h"
#include "ui/Services.h"

namespace {

constexpr ui::Color White = ui::Rgb(255, 255, 255);
constexpr ui::Color LightYellow = ui::Rgb(255, 255, 192);
const ui::Font DialogFont{"Arial", 9, true};

} // namespace

namespace setup {

int SaverTypeOfOption(int index) {
    static constexpr int types[] = {1, 3, 2, 4};
    return types[index];
}

std::optional<int> OptionOfSaverType(int type) {
    for (int index = 0; index < 4; ++index)
        if (SaverTypeOfOption(index) == type)
            return index;
    return std::nullopt;
}

} // namespace setup

frmSetup::frmSetup()
    : Image1(Form, 150, 150, 5715, 930),
      optScreenSaver{{{Form, 225, 2550, 1575, 255, "Analog Clock"},
                      {Form, 1950, 2550, 1380, 255, "Alarm Clock"},
                      {Form, 3675, 2550, 1380, 255, "Lips Clock"},
                      {Form, 225, 3000, 1785, 255, "Custom Graphic"}}},
      lbl0(Form, 300, 3300, 1245, 300, "Full File Path"), txtFullPath(Form, 300, 3600, 5580, 330),
      cmdBrowse(Form, 6000, 3675, 990, 315, "&Browse"), Line2(Form, 150, 4200, 7200, 4200, White),
      cmdAbout(Form, 3075, 4575, 1365, 540, ui::ResourcePicture("about_bar"), "About"),
      cmdExit(Form, 5925, 4575, 1365, 540, ui::ResourcePicture("exit_bar"), "Exit"),
      picCustom(Form, 5775, 900, 1515, 915) {
    Form.SetCaption("Moondial - Setup");
    Form.SetBorderStyle(ui::BorderStyle::FixedToolWindow);
    Form.SetBackColor(ui::Black);
    Form.SetClientSize(7395, 5325);

    Image1.SetBackColor(ui::Black);
    Image1.SetPicture(ui::ResourcePicture("setup_banner"));
    for (std::size_t index = 0; index < optScreenSaver.size(); ++index) {
        ui::OptionButton& option = optScreenSaver[index];
        option.SetFont(DialogFont);
        option.SetForeColor(White);
        option.SetBackColor(ui::Black);
        // No frame shows the four as one choice: a screen reader is told so.
        option.SetGroup("Screen Saver Type", static_cast<int>(index) + 1,
                        static_cast<int>(optScreenSaver.size()));
    }
    optScreenSaver[0].SetValue(true);
    lbl0.SetFont(DialogFont);
    lbl0.SetForeColor(White);
    lbl0.SetBackColor(ui::Black);
    lbl0.SetVisible(false);
    lbl0.Names(txtFullPath);
    txtFullPath.SetFont(DialogFont);
    txtFullPath.SetBackColor(LightYellow);
    txtFullPath.SetVisible(false);
    cmdBrowse.SetFont({"Arial", 8.25, false});
    cmdBrowse.SetVisible(false);
    picCustom.SetBackColor(ui::Black);
    picCustom.SetVisible(false);

    Form.OnLoad = [this] { Form_Load(); };
    Form.OnUnload = [this] { Form_Unload(); };
    for (int index = 0; index < 4; ++index)
        optScreenSaver[index].OnClick = [this, index] { optScreenSaver_Click(index); };
    cmdBrowse.OnClick = [this] { cmdBrowse_Click(); };
    cmdAbout.OnClick = [this] { cmdAbout_Click(); };
    cmdExit.OnClick = [this] { cmdExit_Click(); };
    cmdAbout.OnScaleChanged = [this] { RoundOutline(cmdAbout); };
    cmdExit.OnScaleChanged = [this] { RoundOutline(cmdExit); };
}

void frmSetup::Form_Load() {
    modMain::Trapped("Private Sub Form_Load", [this] {
        RoundOutline(cmdExit);
        RoundOutline(cmdAbout);
        Form.Move((ui::screen::WidthTwips() - Form.Width()) / 2,
                  (ui::screen::HeightTwips() - Form.Height()) / 2);
        const std::int32_t type =
            ui::ToInt32(modMain::GetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey,
                                           modMain::SaverTypeValue, modMain::SaverTypeDefault));
        txtFullPath.SetText(modMain::GetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey,
                                               modMain::CustomPathValue,
                                               modMain::CustomPathDefault));
        if (const auto index = setup::OptionOfSaverType(type)) {
            optScreenSaver[*index].SetValue(true);
            if (*index == 3)
                ShowPathControls(true);
        }
    });
}

// Every way of closing saves the choice; the dialog has no Cancel.
void frmSetup::Form_Unload() {
    modMain::Trapped("Private Sub Form_Unload", [this] {
        int selected = 0;
        for (int index = 0; index < 4; ++index)
            if (optScreenSaver[index].Value()) {
                selected = index;
                break;
            }
        modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, modMain::SaverTypeValue,
                           ui::ToText(setup::SaverTypeOfOption(selected)));
        if (selected == 3)
            modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey,
                               modMain::CustomPathValue,
                               std::string(ui::TrimBlanks(txtFullPath.Text())));
    });
    ui::EndProgram();
}
