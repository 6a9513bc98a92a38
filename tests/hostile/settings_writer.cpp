// Writes the settings over and over, through the program's own routines, until it is killed:
// the end-to-end script kills it at random moments and checks that no value was ever lost.
//
//   settings_writer

#include "startup/modMain.h"
#include "ui/Outside.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    ui::World().ShowMessage = [](const std::string& text, int, const std::string&) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::exit(3);
    };
    for (unsigned long i = 0;; ++i) {
        modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Custom Graphic Path",
                           "/pictures/" + std::string(i % 700, 'x') + ", number " +
                               std::to_string(i) + ".jpg");
        modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Preview",
                           i % 2 ? "True" : "False");
    }
}
