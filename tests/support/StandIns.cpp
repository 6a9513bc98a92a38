#include "support/StandIns.h"

#include "startup/modMain.h"
#include "ui/Application.h"

namespace testing_support {

void OutsideWorldTest::SetUp() {
    saved_ = ui::World();
    ClearStore();
    modMain::ScreenSaverType = 0;
    modMain::LipsHourHandColor = modMain::LipsMinuteHandColor = modMain::LipsSecondHandColor = 0;

    ui::Outside& world = ui::World();
    world.ShowMessage = [this](const std::string& text, int style, const std::string& title) {
        messages.push_back({text, style, title});
    };
    world.CommandLine = [this] { return commandLine; };
    world.Arguments = [this] { return argumentList; };
    world.AnotherInstanceRunning = [this] { return anotherInstance; };
    world.Now = [this] { return now; };
    world.ChooseFile = [this](const std::string& folder, const std::string& filter) {
        fileDialogs.push_back({folder, filter});
        return chosenFile;
    };
    world.OpenUrl = [this](const std::string& address) {
        addressesOpened.push_back(address);
        return browserOpens;
    };
    world.EndProcess = [this] {
        ++ends;
        throw ui::ProcessEnded{};
    };
}

void OutsideWorldTest::TearDown() {
    ui::app::ReleaseWindows(); // windows a test's Main opened
    ui::World() = saved_;
    ClearStore();
}

} // namespace testing_support
