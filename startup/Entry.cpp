#include "startup/Check.h"
#include "startup/IdleWatch.h"
#include "startup/modMain.h"
#include "ui/Application.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The watcher and the check open no window: they run before, and instead of, the program's
    // own start.
    if (modMain::AsksForIdleWatch(arguments))
        return modMain::WatchIdle(argc, argv, arguments);
    if (modMain::AsksForCheck(arguments))
        return modMain::CheckMachine(argc, argv, arguments);
    return ui::app::Run(argc, argv, modMain::Main, modMain::NamesOtherWindows(arguments));
}
