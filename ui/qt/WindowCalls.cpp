#include "ui/WindowCalls.h"

#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <map>

namespace ui {

// Acts on the program's own windows only; a handle of no such window is ignored, as the
// system ignores a call on a window that does not exist.
void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int cx, int cy,
                  unsigned flags) {
    QWidget* w = QWidget::find(static_cast<WId>(window));
    if (!w)
        return;
    const bool wasVisible = w->isVisible();
    if (!(flags & swp::NoZOrder) && insertAfter == TopmostWindow)
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true); // hides a shown window
    w->setGeometry(x, y, cx, cy);
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
        w->setMask(shape);
        if (redraw)
            w->update();
    }
}

} // namespace ui
