#include "saver/frmMoondialMain.h"
#include "startup/ErrorReport.h"
#include "startup/modMain.h"
#include "ui/Error.h"
#include "ui/Picture.h"
#include "ui/Services.h"
#include "ui/Units.h"
#include "ui/WindowCalls.h"

namespace {

constexpr ui::Color DialGrey = ui::Rgb(192, 192, 192);

} // namespace

void frmMoondialMain::CustomPictureWarning(const std::string& title, const std::string& what,
                                           const std::string& path) {
    const std::string text =
        what + "\r\n\r\n" + path + "\r\n\r\nGo into the screen saver settings to fix this.";
    if (!Hosted) {
        ui::ShowMessage(text, ui::ExclamationStyle, title);
        return;
    }
    // No box may show over a locked screen: the same words, in the window, for as long as
    // the saver runs.
    lblWarning.emplace(Form, 600, 600, 12000, 3000, text);
    lblWarning->SetFont({"Arial", 12, true});
    lblWarning->SetForeColor(ui::Rgb(255, 255, 255));
    lblWarning->SetTransparent();
}

frmMoondialMain::frmMoondialMain()
    : picCustom(Form, 300, 3075, 2940, 2040), picClock(Form, 2625, 300, 2160, 2175),
      picClockMovement(picClock, 535, 525, 1145, 1155), picAlarmClock(Form, 75, 150, 2295, 2475),
      picAlarmClockMoveMent(picAlarmClock, 685, 900, 1005, 945),
      picLips(Form, 4950, 450, 3330, 2040), tmrClock(Form, 1000, false),
      tmrAlarmClock(Form, 1000, false), tmrClockLips(Form, 100, false), tmrMove(Form, 30, true) {
    Form.SetBorderStyle(ui::BorderStyle::None);
    Form.SetBackColor(ui::Black);
    Form.SetStartMaximized(true);
    Form.SetPointerInvisible();
    Form.SetRunningScreenSaver(true);

    picCustom.SetBackColor(ui::Black);
    picCustom.SetAutoSize(true);
    picCustom.SetVisible(false);
    picClock.SetBackColor(ui::Black);
    picClock.SetPicture(ui::ResourcePicture("clock"));
    picClock.SetVisible(false);
    picClockMovement.SetBackColor(DialGrey);
    picAlarmClock.SetBackColor(ui::Black);
    picAlarmClock.SetPicture(ui::ResourcePicture("alarmclock"));
    picAlarmClock.SetVisible(false);
    picAlarmClockMoveMent.SetBackColor(DialGrey);
    picLips.SetBackColor(ui::Black);
    picLips.SetPicture(ui::ResourcePicture("lips"));
    picLips.SetVisible(false);

    Form.OnLoad = [this] { Form_Load(); };
    Form.OnResize = [this] { Form_Resize(); };
    Form.OnMouseMove = [this](float x, float y) { Form_MouseMove(x, y); };
    Form.OnClick = [this] { Form_Click(); };
    Form.OnKeyDown = [this] { Form_KeyDown(); };
    Form.OnMouseDown = [this] { Form_MouseDown(); };
    Form.OnMouseWheel = [this] { Form_MouseWheel(); };
    picCustom.OnClick = [this] { picCustom_Click(); };
    picCustom.OnKeyPress = [this] { picCustom_KeyPress(); };
    picLips.OnKeyPress = [this] { picLips_KeyPress(); };
    picClock.OnKeyPress = [this] { picClock_KeyPress(); };
    tmrMove.OnTick = [this] { tmrMove_Timer(); };
    tmrClock.OnTick = [this] { tmrClock_Timer(); };
    tmrAlarmClock.OnTick = [this] { tmrAlarmClock_Timer(); };
    tmrClockLips.OnTick = [this] { tmrClockLips_Timer(); };
}

void frmMoondialMain::Form_Load() {
    std::string path;
    try {
        const ui::WindowHandle window = Form.Handle();
        const auto pixels = [window](double twips) { return ui::DevicePixels(window, twips); };
        if (!Hosted) // a window inside another is not topmost on its own
            ui::SetWindowPos(window, ui::TopmostWindow, pixels(Form.Left()), pixels(Form.Top()),
                             pixels(Form.Width()), pixels(Form.Height()), 0);

        switch (modMain::ScreenSaverType) {
        case 1:
            tmrClock.SetEnabled(true);
            picClock.SetVisible(true);
            break;
        case 2:
            tmrClockLips.SetEnabled(true);
            picLips.SetVisible(true);
            break;
        case 3:
            tmrAlarmClock.SetEnabled(true);
            picAlarmClock.SetVisible(true);
            break;
        case 4:
            path = PictureOverride
                       ? *PictureOverride
                       : modMain::GetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey,
                                            modMain::CustomPathValue, modMain::CustomPathDefault);
            picCustom.SetVisible(true);
            // An empty path names no file at all; it is missing like any other.
            if (path.empty())
                throw ui::Error(ui::errors::FileNotFound, "File not found");
            picCustom.SetPicture(ui::LoadPicture(path));
            break;
        default:
            break;
        }
    } catch (const ui::ProcessEnded&) {
        throw;
    } catch (...) {
        const ui::Error failure = ui::CurrentError();
        if (!Hosted) // a hosted window stays, to tell what went wrong
            HideWindow();
        if (failure.Number == ui::errors::FileNotFound ||
            failure.Number == ui::errors::PathNotFound)
            CustomPictureWarning("Moondial - Custom Image Not Found",
                                 "Custom graphic image is missing.", path);
        else if (failure.Number == ui::errors::InvalidPicture)
            CustomPictureWarning("Moondial - Custom Image Corrupt",
                                 "Custom graphic image is corrupt.", path);
        else
            modMain::ShowErrorReport("Private Sub Form_Load", failure);
        if (!Hosted)
            ui::EndProgram();
    }
}
