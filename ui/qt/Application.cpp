#include "ui/Application.h"

#include <QApplication>
#include <QWidget>

namespace ui::app {

Version ProgramVersion() {
    return {MOONDIAL_VERSION_MAJOR, MOONDIAL_VERSION_MINOR, MOONDIAL_VERSION_REVISION};
}

std::string FileDescription() {
    return MOONDIAL_FILE_DESCRIPTION;
}

std::string Folder() {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath().toStdString()
                                        : std::string(".");
}

namespace {

bool AnyWindowOpen() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
}

} // namespace

int Run(int argc, char** argv, void (*main)()) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quillon");
    QApplication::setApplicationName("Moondial");
    int status = 0;
    try {
        main();
        if (AnyWindowOpen())
            status = QApplication::exec();
    } catch (const ProcessEnded&) {
    } catch (...) {
        ReportUntrapped();
    }
    ReleaseWindows();
    return status;
}

} // namespace ui::app
