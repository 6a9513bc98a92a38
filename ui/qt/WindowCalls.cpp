#include "ui/WindowCalls.h"

#include "ui/Units.h"
#include "ui/qt/NativeEvents.h"
#include "ui/qt/XConnection.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QTransform>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <xcb/xcb.h>

namespace ui {

double WindowScale(WindowHandle window) {
    if (const QWidget* w = QWidget::find(static_cast<WId>(window)))
        return w->devicePixelRatioF();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

// Acts on the program's own windows only; a handle of no such window is ignored, as the
// system ignores a call on a window that does not exist.
void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                  unsigned flags) {
    QWidget* w = QWidget::find(static_cast<WId>(window));
    if (!w)
        return;
    const bool wasVisible = w->isVisible();
    if (!(flags & swp::NoZOrder) && insertAfter == TopmostWindow &&
        !(w->windowFlags() & Qt::WindowStaysOnTopHint)) {
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true); // hides a shown window
        // Qt would make a hidden window's X window anew when it shows; made afresh now, it
        // has the flag from the start.
        if (!wasVisible && w->windowHandle())
            w->windowHandle()->destroy();
    }
    // Device pixels, as X counts them, to the widget's logical ones.
    const double scale = w->devicePixelRatioF();
    const auto logical = [scale](int device) {
        return static_cast<int>(RoundHalfEven(DeviceToLogical(device, scale)));
    };
    w->setGeometry(logical(x), logical(y), logical(cx), logical(cy));
    if (flags & swp::NoActivate)
        w->setAttribute(Qt::WA_ShowWithoutActivating);
    if (wasVisible || (flags & swp::ShowWindow))
        w->show();
}

namespace {

// The regions made and not yet handed to a window.
std::map<RegionHandle, QRegion>& Regions() {
    static std::map<RegionHandle, QRegion> regions;
    return regions;
}

} // namespace

RegionHandle CreateRoundRectRgn(int x1, int y1, int x2, int y2, int width, int height) {
    // As the system makes it: the right and bottom edges, and one more row and column, are out.
    const QRect box(QPoint(x1, y1), QPoint(x2 - 2, y2 - 2));
    const int rx = std::min(width, box.width()) / 2, ry = std::min(height, box.height()) / 2;
    // The straight parts, and an ellipse of the corners' size in each corner.
    QRegion region = QRegion(box.adjusted(rx, 0, -rx, 0)) | QRegion(box.adjusted(0, ry, 0, -ry));
    const QSize corner(std::min(width, box.width()), std::min(height, box.height()));
    for (const QPoint& at :
         {box.topLeft(), QPoint(box.right() + 1 - corner.width(), box.top()),
          QPoint(box.left(), box.bottom() + 1 - corner.height()),
          QPoint(box.right() + 1 - corner.width(), box.bottom() + 1 - corner.height())})
        region |= QRegion(QRect(at, corner), QRegion::Ellipse);
    static RegionHandle last = 0;
    Regions()[++last] = region;
    return last;
}

void SetWindowRgn(WindowHandle window, RegionHandle region, bool redraw) {
    const auto found = Regions().find(region);
    if (found == Regions().end())
        return;
    const QRegion shape = found->second;
    Regions().erase(found); // the window's from now on, even if there is no such window
    if (QWidget* w = QWidget::find(static_cast<WId>(window))) {
        const double scale = w->devicePixelRatioF();
        w->setMask(scale == 1 ? shape : QTransform::fromScale(1 / scale, 1 / scale).map(shape));
        if (redraw)
            w->update();
    }
}

} // namespace ui

namespace ui {

namespace {

// Window styles have no meaning for X: the program's own windows keep what it set, so that a
// read after a write gives it back, and start as a borderless or framed window's would.
std::map<WindowHandle, std::intptr_t>& Styles() {
    static std::map<WindowHandle, std::intptr_t> styles;
    return styles;
}

constexpr std::intptr_t WsPopup = static_cast<std::intptr_t>(0x80000000u);
constexpr std::intptr_t WsVisible = 0x10000000;
constexpr std::intptr_t WsOverlappedWindow = 0x00CF0000;

} // namespace

WindowHandle HandleFromNumber(std::int32_t number) {
    return static_cast<WindowHandle>(static_cast<std::uint32_t>(number));
}

bool IsWindow(WindowHandle window) {
    Rect ignored;
    return GetClientRect(window, ignored);
}

bool IsDesktopWindow(WindowHandle window) {
    xcb_connection_t* x = X();
    if (!x)
        return false;
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(x)); screens.rem;
         xcb_screen_next(&screens))
        if (screens.data->root == window)
            return true;
    return false;
}

WindowHandle DesktopWindow() {
    xcb_connection_t* x = X();
    return x ? xcb_setup_roots_iterator(xcb_get_setup(x)).data->root : 0;
}

bool GetClientRect(WindowHandle window, Rect& rect) {
    if (window == 0 || window > 0xFFFFFFFFu)
        return false;
    return KnownClientRect(static_cast<std::uint32_t>(window), rect);
}

std::intptr_t GetWindowLongValue(WindowHandle window, int index) {
    QWidget* w = QWidget::find(static_cast<WId>(window));
    if (!w || index != GwlStyle)
        return 0;
    if (const auto kept = Styles().find(window); kept != Styles().end())
        return kept->second;
    const bool frameless = w->windowFlags() & Qt::FramelessWindowHint;
    return (frameless ? WsPopup : WsOverlappedWindow) | (w->isVisible() ? WsVisible : 0);
}

std::intptr_t SetWindowLongValue(WindowHandle window, int index, std::intptr_t value) {
    const std::intptr_t before = GetWindowLongValue(window, index);
    if (QWidget::find(static_cast<WId>(window)) && index == GwlStyle)
        Styles()[window] = value;
    return before; // the owner (GwlHwndParent) has no meaning for a child X window
}

WindowHandle SetParent(WindowHandle child, WindowHandle parent) {
    QWidget* w = QWidget::find(static_cast<WId>(child));
    if (!w || !w->windowHandle() || !IsWindow(parent))
        return 0;
    // The foreign window's stand-in lives as long as the program may show a child in it.
    static std::map<WindowHandle, QWindow*> foreign;
    QWindow*& host = foreign[parent];
    if (!host)
        host = QWindow::fromWinId(static_cast<WId>(parent));
    QWindow* before = w->windowHandle()->parent();
    w->windowHandle()->setParent(host);
    return before ? before->winId() : 0;
}

} // namespace ui
