#include "ui/Application.h"

#include "ui/Dispatch.h"
#include "ui/FormList.h"
#include "ui/qt/NativeEvents.h"

#include <QApplication>
#include <QSessionManager>

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

// Pixels are the screen's own, at 15 twips each, as on Windows: a desktop scaled to 150% must
// not draw the art larger and blurred, nor hand the pointer test fractions of a pixel.
void UseDevicePixels() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_USE_PHYSICAL_DPI"})
        qunsetenv(name);
}

// Qt's own event loop rather than GLib's: a saver wakes 34 times a second for hours, and each
// wakeup through GLib's sources costs a fifth more. (Unless the user asked for either.)
void UseQtsOwnEventLoop() {
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

} // namespace

int Run(int argc, char** argv, void (*main)()) {
    UseDevicePixels();
    UseQtsOwnEventLoop();
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Quillon");
    QApplication::setApplicationName("Moondial");
    // Closing ends the process by the forms' own rule; a report closed while the saver is
    // hidden is no reason to stop.
    QApplication::setQuitOnLastWindowClosed(false);
    const auto watcher = WatchNativeWindows();
#if QT_CONFIG(sessionmanager)
    // The session manager's end of the session closes the forms, as Windows' does.
    QObject::connect(
        &application, &QGuiApplication::commitDataRequest, &application,
        [](QSessionManager&) { Guarded([] { forms::EndSession(); }); }, Qt::DirectConnection);
#endif
    int status = 0;
    try {
        main();
        if (forms::AnyLoaded())
            status = QApplication::exec();
    } catch (const ProcessEnded&) {
    } catch (...) {
        ReportUntrapped();
    }
    ReleaseWindows();
    return status;
}

} // namespace ui::app
