// Runs the tests with the offscreen platform and a settings folder and runtime folder of
// their own, so no test touches the user's settings or sees a saver running on this machine.

#include <QApplication>
#include <QTemporaryDir>
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
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
