#include "ui/qt/NativeEvents.h"

#include "ui/Dispatch.h"
#include "ui/FormList.h"
#include "ui/qt/Widgets.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace ui {

namespace {

// Qt makes a widget's X window anew at times, and the server may hand the new one the old id:
// only a window the server no longer knows is gone.
bool Gone(xcb_window_t window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    xcb_generic_error_t* error = nullptr;
    std::free(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), &error));
    const bool gone = error != nullptr;
    std::free(error);
    return gone;
}

class DestroyWatcher : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
            return false;
        const auto window = reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window;
        for (Form* form : forms::All()) {
            Form::Impl& impl = form->Native();
            const QWindow* native = impl.widget->windowHandle();
            if (native && native->winId() == window && !impl.destroyed && Gone(window)) {
                impl.destroyed = true;
                Guarded([] { forms::EndUnlessOneShows(); });
            }
        }
        return false;
    }
};

} // namespace

std::shared_ptr<void> WatchNativeWindows() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return {};
    auto watcher = std::make_shared<DestroyWatcher>();
    QCoreApplication::instance()->installNativeEventFilter(watcher.get());
    return watcher;
}

} // namespace ui
