#include "ui/qt/XConnection.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

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

} // namespace ui
