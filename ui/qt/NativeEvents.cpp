#include "ui/qt/NativeEvents.h"

#include "ui/Dispatch.h"
#include "ui/FormList.h"
#include "ui/qt/Handles.h"
#include "ui/qt/Impl.h"
#include "ui/qt/XConnection.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <map>
#include <xcb/xcb.h>

namespace ui {

namespace {

bool AskClientRect(xcb_connection_t* x, xcb_window_t window, Rect& rect) {
    xcb_generic_error_t* error = nullptr;
    const xcb::Owned<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x, xcb_get_geometry(x, window), &error));
    const xcb::Owned<xcb_generic_error_t> failed(error);
    if (!geometry || failed)
        return false;
    rect = {0, 0, geometry->width, geometry->height};
    return true;
}

// Asks to be told of the window's changes, keeping what this client already selected on it
// (Qt's own masks, on the root), and then reads its size: any change after the answer comes as
// a notification.
bool StartWatching(xcb_connection_t* x, xcb_window_t window, Rect& rect) {
    xcb_generic_error_t* error = nullptr;
    const xcb::Owned<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), &error));
    const xcb::Owned<xcb_generic_error_t> failed(error);
    if (!attributes || failed)
        return false;
    const std::uint32_t mask[] = {attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    if (const xcb::Owned<xcb_generic_error_t> refused(xcb_request_check(
            x, xcb_change_window_attributes_checked(x, window, XCB_CW_EVENT_MASK, mask)));
        refused)
        return false;
    return AskClientRect(x, window, rect);
}

// Qt makes a widget's X window anew at times, and the server may hand the new one the old id:
// only a window the server no longer knows is gone.
bool Gone(xcb_window_t window) {
    xcb_connection_t* x = X();
    if (!x)
        return false;
    xcb_generic_error_t* error = nullptr;
    const xcb::Owned<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), &error));
    const xcb::Owned<xcb_generic_error_t> unknown(error);
    return unknown != nullptr;
}

class DestroyWatcher : public QAbstractNativeEventFilter {
public:
    // Other clients' windows looked at so far, with their last known inner areas.
    std::map<xcb_window_t, Rect> hosts;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int kind = event->response_type & 0x7f;
        if (kind == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            if (const auto host = hosts.find(configure->window); host != hosts.end())
                host->second = {0, 0, configure->width, configure->height};
            return false;
        }
        if (kind != XCB_DESTROY_NOTIFY)
            return false;
        const auto window = reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window;
        // The next look asks the server again: the id may name a new window by then.
        hosts.erase(window);
        for (Form* form : forms::All()) {
            Form::Impl& impl = form->Native();
            const QWindow* native = impl.widget->windowHandle();
            if (native && native->winId() == window && !impl.destroyed && Gone(window)) {
                impl.destroyed = true;
                impl.life.Destroyed();
            }
        }
        return false;
    }
};

DestroyWatcher* watcher = nullptr; // while the application watches

} // namespace

std::shared_ptr<void> WatchNativeWindows() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return {};
    watcher = new DestroyWatcher;
    QCoreApplication::instance()->installNativeEventFilter(watcher);
    return std::shared_ptr<void>(watcher, [](void* watching) {
        watcher = nullptr;
        delete static_cast<DestroyWatcher*>(watching);
    });
}

bool KnownClientRect(std::uint32_t window, Rect& rect) {
    xcb_connection_t* x = X();
    if (!x)
        return false;
    // The program's own windows change under its own hands, and Qt makes them anew at times.
    if (!watcher || QWidget::find(static_cast<WId>(window)))
        return AskClientRect(x, window, rect);
    auto& hosts = watcher->hosts;
    if (const auto host = hosts.find(window); host != hosts.end()) {
        rect = host->second;
        return true;
    }
    if (!StartWatching(x, window, rect))
        return false;
    hosts[window] = rect;
    return true;
}

} // namespace ui
