#include "startup/modMain.h"
#include "ui/Application.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return ui::app::Run(argc, argv, modMain::Main, modMain::NamesOtherWindows(arguments));
}
