#include "startup/IdleWatch.h"
#include "startup/modMain.h"
#include "ui/Application.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The watcher opens no window: it runs before, and instead of, the program's own start.
    if (modMain::AsksForIdleWatch(arguments))
        return modMain::WatchIdle(argc, argv, arguments);
    return ui::app::Run(argc, argv, modMain::Main, modMain::NamesOtherWindows(arguments));
}
