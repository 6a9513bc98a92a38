#include "ui/qt/XConnection.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
// Last: its macros (None, Status, Bool...) would rename Qt's own words.
#include <X11/Xlib.h>

namespace ui {

// Asked of Qt once it has one: the lookup of its native interface costs more than a move of a
// picture itself. The connection lives as long as the application.
xcb_connection_t* X() {
    static xcb_connection_t* connection = nullptr;
    if (!connection) {
        auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        connection = x11 ? x11->connection() : nullptr;
    }
    return connection;
}

namespace {

Display* XlibDisplay() {
    static Display* display = nullptr;
    static bool asked = false;
    if (!asked && qApp) {
        asked = true;
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        display = x11 ? x11->display() : nullptr;
    }
    return display;
}

} // namespace

void MoveXWindow(std::uint32_t window, int x, int y) {
    if (Display* display = XlibDisplay()) {
        XMoveWindow(display, window, x, y);
        return;
    }
    const std::uint32_t place[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)};
    if (xcb_connection_t* connection = X())
        xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
}

void FlushX() {
    // Xlib's flush sends what xcb queued too: it takes the socket, which flushes xcb first.
    if (Display* display = XlibDisplay())
        XFlush(display);
    else if (xcb_connection_t* connection = X())
        xcb_flush(connection);
}

} // namespace ui
