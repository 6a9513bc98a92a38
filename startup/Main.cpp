#include "startup/CommandLine.h"
#include "startup/ErrorReport.h"
#include "startup/ModeWindows.h"
#include "startup/modMain.h"
#include "ui/Application.h"
#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/Random.h"
#include "ui/Services.h"

namespace modMain {

std::int32_t ScreenSaverType = 0;
std::int16_t LipsHourHandColor = 0;
std::int16_t LipsMinuteHandColor = 0;
std::int16_t LipsSecondHandColor = 0;

namespace {

// A "Preview" text that is not a Boolean (edited by hand, or empty after a failed read)
// counts as "not a preview", so a second instance is still refused.
bool LastStartWasPreview() {
    const std::string text = GetRegKey(HKeyCurrentUser, SettingsKey, PreviewValue, PreviewDefault);
    try {
        return ui::ToBoolean(text);
    } catch (const ui::Error&) {
        return false;
    }
}

} // namespace

bool CheckSettings() {
    return Trapped("Public Sub CheckSettings", [] {
        const std::string text =
            GetRegKey(HKeyCurrentUser, SettingsKey, SaverTypeValue, SaverTypeDefault);
        ScreenSaverType = ui::ToInt32(text);
    });
}

void Main() {
    if (RunAsHack(ui::app::Arguments()))
        return;
    const bool anotherInstance = ui::app::AnotherInstanceRunning();
    const bool lastStartWasPreview = LastStartWasPreview();
    if (anotherInstance && !lastStartWasPreview)
        return;
    if (!CheckSettings())
        return;

    const std::string arguments = ui::app::CommandLine();
    switch (ModeOf(arguments)) {
    case Mode::Setup:
        SetRegKey(HKeyCurrentUser, SettingsKey, PreviewValue, "False");
        // "/c:HWND": the display settings' own window, which owns the dialog.
        ShowSetupDialog(PreviewWindowNumber(arguments));
        return;
    case Mode::Saver:
        SetRegKey(HKeyCurrentUser, SettingsKey, PreviewValue, "False");
        LipsHourHandColor = 8;
        LipsMinuteHandColor = 7;
        LipsSecondHandColor = 12;
        ui::Randomize(ui::Now().SecondsSinceMidnight);
        ShowSaverWindow();
        return;
    case Mode::Preview: {
        // Without a pane to live in there is nothing to show, and nothing is recorded.
        const auto pane = PreviewWindowNumber(arguments);
        if (!pane)
            ui::EndProgram();
        SetRegKey(HKeyCurrentUser, SettingsKey, PreviewValue, "True");
        EmbedPreview(*pane);
        return;
    }
    case Mode::None:
        ui::EndProgram();
    }
}

} // namespace modMain
