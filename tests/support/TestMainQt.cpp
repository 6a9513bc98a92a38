// Runs the tests with the offscreen platform and a settings folder and runtime folder of
// their own, so no test touches the user's settings or sees a saver running on this machine.

#include "ui/Outside.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir config, runtime;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quillon");
    QApplication::setApplicationName("Moondial");
    // A test that ended the process for real would pass unseen, with what follows untested.
    ui::World().EndProcess = [] {
        std::fputs("A test ended the process without a stand-in for the end.\n", stderr);
        std::abort();
    };
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
