#include "ui/Application.h"

#include "ui/Dispatch.h"
#include "ui/EventLoop.h"
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

// The program's pixels are logical ones: a desktop scaled to 150% or 200% shows every window
// that much larger, and sharp. Fractional scales are taken as they are, not rounded to 1 or 2.
void UseTheDisplaysScale() {
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

// Qt's own event loop rather than GLib's: a saver wakes 34 times a second for hours, and each
// wakeup through GLib's sources costs a fifth more. (Unless the user asked for either.)
void UseQtsOwnEventLoop() {
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

// Window ids on the command line are the X server's. (Unless the user named a platform.)
void UseX11() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

bool RunsScreenSaverHacks() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

} // namespace ui::app

namespace ui {

struct EventLoop::Impl {
    Impl(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
    std::shared_ptr<void> watcher; // gone before the application
};

EventLoop::EventLoop(int& argc, char** argv, bool namesOtherWindows) {
    if (namesOtherWindows)
        app::UseX11();
    app::UseTheDisplaysScale();
    app::UseQtsOwnEventLoop();
    impl_ = std::make_unique<Impl>(argc, argv);
    QApplication::setOrganizationName("Quillon");
    QApplication::setApplicationName("Moondial");
    // Closing ends the process by the forms' own rule; a report closed while the saver is
    // hidden is no reason to stop.
    QApplication::setQuitOnLastWindowClosed(false);
    impl_->watcher = WatchNativeWindows();
#if QT_CONFIG(sessionmanager)
    // The session manager's end of the session closes the forms, as Windows' does.
    QObject::connect(
        &impl_->application, &QGuiApplication::commitDataRequest, &impl_->application,
        [](QSessionManager&) { Guarded([] { forms::EndSession(); }); }, Qt::DirectConnection);
#endif
}

EventLoop::~EventLoop() = default;

int EventLoop::Exec() {
    return QApplication::exec();
}

} // namespace ui
