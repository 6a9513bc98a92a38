// Writes the settings through the program's own routines, for the end-to-end script of the
// store:
//
//   settings_writer               writes over and over until it is killed
//   settings_writer --once PATH   stores PATH as the picture path once; exit 3 when the write
//                                 was reported as failed. SIGUSR1 is caught and does nothing,
//                                 as in a program whose signals have handlers.
//   settings_writer --hold LOCK   holds the store's write lock (the lock file LOCK), says "held"
//                                 and keeps it until its input closes

#include "startup/modMain.h"
#include "ui/Outside.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>

namespace {

void Store(const std::string& name, const std::string& value) {
    modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, name, value);
}

int Hold(const char* lockFile) {
    const int lock = ::open(lockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0 || ::flock(lock, LOCK_EX) != 0)
        return 2;
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

void Ignore(int) {}

} // namespace

int main(int argc, char** argv) {
    ui::World().ShowMessage = [](const std::string& text, int, const std::string&) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::exit(3);
    };
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return Hold(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--once") == 0) {
        struct sigaction action {};
        action.sa_handler = Ignore; // no SA_RESTART: a blocked call returns EINTR
        sigemptyset(&action.sa_mask);
        sigaction(SIGUSR1, &action, nullptr);
        std::fprintf(stderr, "writing\n");
        Store("Custom Graphic Path", argv[2]);
        return 0;
    }
    for (unsigned long i = 0;; ++i) {
        Store("Custom Graphic Path",
              "/pictures/" + std::string(i % 700, 'x') + ", number " + std::to_string(i) + ".jpg");
        Store("Preview", i % 2 ? "True" : "False");
    }
}
