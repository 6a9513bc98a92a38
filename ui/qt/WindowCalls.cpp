#include "ui/WindowCalls.h"

#include <QWidget>

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

} // namespace ui
