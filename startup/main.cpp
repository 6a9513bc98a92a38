#include "startup/modMain.h"
#include "ui/Application.h"

int main(int argc, char** argv) {
    return ui::app::Run(argc, argv, modMain::Main);
}
