#include "ui/qt/ServerPicture.h"

#include "ui/qt/Impl.h"

#include <QPainter>
#include <QTimer>
#include <utility>

namespace ui {

ServerPicture::ServerPicture(PictureBox& box, std::uint32_t stageWindow)
    : box_(box), shown_(!box.Native().widget->isHidden()),
      scale_(box.Native().form->Native().widget->devicePixelRatioF()) {
    PictureWidget* w = box.Native().widget;
    // A box inside another is drawn into its parent's picture: the server then moves one
    // window where Qt would move two.
    if (!box.Native().parent) {
        at_ = w->pos();
        window_ =
            std::make_unique<ServerBox>(stageWindow, DeviceRect(w->geometry(), scale_), shown_);
    }
    w->hide();
}

ServerPicture& ServerPicture::Shown() {
    return window_ ? *this : box_.Native().parent->Native().server->Shown();
}

bool ServerPicture::ShownWithin(const ServerPicture& root) const {
    for (const ServerPicture* b = this; b != &root;
         b = b->box_.Native().parent->Native().server.get())
        if (!b->shown_)
            return false;
    return true;
}

// The window's picture: its own content, and that of the boxes drawn into it, each at its
// place.
QImage ServerPicture::Content(double scale) {
    PictureWidget* own = box_.Native().widget;
    QImage content(DeviceSize(own->size(), scale), QImage::Format_RGB32);
    content.setDevicePixelRatio(scale);
    QPainter painter(&content);
    own->Render(painter, own->rect());
    for (PictureBox* box : box_.Native().form->Native().boxes) {
        ServerPicture* inner = box->Native().server.get();
        if (!inner || inner == this || inner->window_ || &inner->Shown() != this ||
            !inner->ShownWithin(*this))
            continue;
        PictureWidget* w = box->Native().widget;
        painter.save();
        painter.translate(w->mapTo(own, QPoint(0, 0)));
        painter.setClipRect(QRect(QPoint(0, 0), w->size()));
        w->Render(painter, QRect(QPoint(0, 0), w->size()));
        painter.restore();
    }
    return content;
}

void ServerPicture::Repaint() {
    PictureWidget* w = box_.Native().widget;
    Repaint(w ? w->rect() : QRect());
}

void ServerPicture::Repaint(const QRect& area) {
    ServerPicture& root = Shown();
    PictureWidget* w = box_.Native().widget;
    PictureWidget* rootWidget = root.box_.Native().widget;
    if (!w || !rootWidget)
        return;
    const QPoint offset = &root == this ? QPoint() : w->mapTo(rootWidget, QPoint());
    root.changed_ |= area.translated(offset) & rootWidget->rect();
    if (root.repaintAsked_)
        return;
    root.repaintAsked_ = true;
    // After the handler that changed it, before the program waits again: one upload for a
    // clear and three lines, and no wakeup of its own.
    ServerPicture* target = &root;
    QTimer::singleShot(0, rootWidget, [target] {
        target->repaintAsked_ = false;
        const QRect dirty = std::exchange(target->changed_, QRect());
        if (!target->window_ || !target->box_.Native().widget || dirty.isEmpty())
            return;
        // A pixel more round it: rounding at a fractional scale may take one from its edge.
        const QRect device = DeviceRect(dirty, target->scale_).adjusted(-1, -1, 1, 1);
        target->window_->Show(target->Content(target->scale_), device);
        FlushServer();
    });
}

void ServerPicture::RepaintWindow() {
    Shown().Repaint();
}

void ServerPicture::Resized() {
    if (!window_)
        return;
    const QSize size = DeviceSize(box_.Native().widget->size(), scale_);
    window_->Resize(size.width(), size.height());
}

void ServerPicture::SetVisible(bool visible) {
    shown_ = visible;
    if (!window_) {
        Repaint();
        return;
    }
    window_->SetShown(visible);
    FlushServer();
}

bool ServerPicture::Visible() const {
    const PictureBox::Impl& impl = box_.Native();
    return shown_ && (impl.parent ? impl.parent->Visible() : impl.form->Visible());
}

QPoint ServerPicture::Place() const {
    return window_ ? at_ : box_.Native().widget->pos();
}

void ServerPicture::Move(const QPoint& at) {
    if (window_) {
        // One configure request, no reply awaited: the server moves the picture by itself. Not
        // flushed here: Qt's loop flushes the display after the timers of each of its passes,
        // so the move leaves in this same wakeup and a tick writes to the server once.
        at_ = at;
        const QPoint device = DevicePoint(at, scale_);
        window_->Move(device.x(), device.y());
        return;
    }
    PictureWidget* w = box_.Native().widget;
    const QRect before = w->geometry();
    w->move(at);
    box_.Native().parent->Native().server->Repaint(before | w->geometry()); // where it was, and is
}

std::uint32_t ServerPicture::Window() const {
    return const_cast<ServerPicture*>(this)->Shown().window_->Window();
}

} // namespace ui
