#include "saver/frmMoondialMain.h"
#include "startup/CommandLine.h"
#include "startup/HackOptions.h"
#include "startup/modMain.h"
#include "ui/Application.h"
#include "ui/Random.h"
#include "ui/Services.h"

#include <cstdlib>

namespace modMain {

bool NamesOtherWindows(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments)
        text += (text.empty() ? "" : " ") + argument;
    std::string error;
    return ModeOf(text) == Mode::Preview || ParseHackOptions(arguments, error).has_value();
}

bool RunAsHack(const std::vector<std::string>& arguments) {
    if (!ui::app::RunsScreenSaverHacks())
        return false;
    std::string error;
    const auto options = ParseHackOptions(arguments, error);
    if (!options)
        return false;
    // Whatever it would say, it never shows a box over a locked screen.
    ui::app::KeepMessageBoxesOff();
    if (!error.empty()) {
        ui::ShowMessage(error, ui::CriticalStyle, "Moondial");
        ui::EndProgram();
    }
    const auto window = HackWindow(*options, std::getenv("XSCREENSAVER_WINDOW"),
                                   static_cast<std::uint32_t>(ui::DesktopWindow()));
    if (!window || !ui::IsWindow(*window)) {
        ui::ShowMessage("There is no window to draw in: give --root, --window-id ID, or run "
                        "under a screen-saver daemon.",
                        ui::CriticalStyle, "Moondial");
        ui::EndProgram();
    }
    ui::app::EndOnTerminationSignals();
    if (options->SaverType)
        ScreenSaverType = *options->SaverType;
    else if (!CheckSettings())
        ui::EndProgram();
    LipsHourHandColor = 8;
    LipsMinuteHandColor = 7;
    LipsSecondHandColor = 12;
    ui::Randomize(ui::Now().SecondsSinceMidnight);
    ui::app::Keep(std::make_shared<frmMoondialMain>()).ShowIn(*window, options->Picture);
    return true;
}

} // namespace modMain
