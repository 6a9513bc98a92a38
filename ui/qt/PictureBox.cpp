#include "ui/Dispatch.h"
#include "ui/Form.h"
#include "ui/Units.h"
#include "ui/qt/Impl.h"
#include "ui/qt/Picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Not in the tab order: a box that takes keys has them once clicked (see mousePressEvent),
    // and the form has them otherwise. A picture that only decorates never holds the focus.
    setFocusPolicy(Qt::NoFocus);
}

void DrawPicture(QPainter& painter, const Picture& picture, const QPointF& at) {
    if (picture.Empty())
        return;
    // Its own drawing at the device's scale where there is one, else the next larger one
    // reduced, or the user's picture enlarged, smoothly; at its size in logical pixels.
    const double scale = painter.device()->devicePixelRatioF();
    const QPixmap& art = picture.Get()->At(scale);
    painter.save();
    if (art.devicePixelRatio() == scale) {
        // Pixel for pixel: its size rounded to whole device pixels, as the art was drawn.
        painter.drawPixmap(at, art);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRectF(at, QSizeF(picture.WidthPixels(), picture.HeightPixels())), art,
                           QRectF(art.rect()));
    }
    painter.restore();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Render(painter, event->rect());
}

void PictureWidget::Render(QPainter& painter, const QRect& area) const {
    painter.fillRect(area, QColor(back.Red, back.Green, back.Blue));
    DrawPicture(painter, picture, QPointF(0, 0));
    // Hands at device resolution: smooth where a logical pixel is more than one device pixel.
    painter.setRenderHint(QPainter::Antialiasing, painter.device()->devicePixelRatioF() > 1);
    for (const LineDrawing::Line& line : drawing.Lines()) {
        painter.setPen(QPen(QColor(line.color.Red, line.color.Green, line.color.Blue), line.width,
                            Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
    }
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!box_.OnMouseMove) {
        event->ignore(); // the parent judges it, at the position mapped into its own area
        return;
    }
    const QPointF at = event->position();
    Dispatch(box_.OnMouseMove, static_cast<float>(at.x() * TwipsPerPixel),
             static_cast<float>(at.y() * TwipsPerPixel));
}

FormWidget* PictureWidget::Form() const {
    return dynamic_cast<FormWidget*>(window());
}

void PictureWidget::mousePressEvent(QMouseEvent*) {
    if (box_.OnClick || box_.OnKeyPress)
        setFocus(Qt::MouseFocusReason);
    // Accepted here, so the release that makes a click comes back to this box.
    if (auto* form = Form())
        form->MouseDown();
}

void PictureWidget::wheelEvent(QWheelEvent*) {
    if (auto* form = Form())
        form->MouseWheel();
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!box_.OnClick) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Dispatch(box_.OnClick);
}

void PictureWidget::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty()) // a typed character, not a lone Shift or arrow
        Dispatch(box_.OnKeyPress);
    // The form sees every key, once, however deep the box sits.
    if (auto* form = Form())
        form->KeyDown();
}

namespace {

QRect ToRect(const LineDrawing::Area& area) {
    return QRect(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

} // namespace

double PictureBox::Impl::Scale() const {
    return serverScale > 0 ? serverScale : form->Native().widget->devicePixelRatioF();
}

PictureBox::Impl& PictureBox::Impl::Shown() {
    return inParent ? parent->Native().Shown() : *this;
}

namespace {

bool ShownWithin(const PictureBox::Impl& box, const PictureBox::Impl& root) {
    for (const PictureBox::Impl* b = &box; b != &root; b = &b->parent->Native())
        if (!b->shown)
            return false;
    return true;
}

// The window's picture: its own content, and that of the boxes drawn into it, each at its
// place.
QImage Content(PictureBox::Impl& root, double scale) {
    QImage content(DeviceSize(root.widget->size(), scale), QImage::Format_RGB32);
    content.setDevicePixelRatio(scale);
    QPainter painter(&content);
    root.widget->Render(painter, root.widget->rect());
    for (PictureBox* box : root.form->Native().boxes) {
        PictureBox::Impl& impl = box->Native();
        if (&impl == &root || !impl.inParent || &impl.Shown() != &root || !ShownWithin(impl, root))
            continue;
        painter.save();
        const QPoint at = impl.widget->mapTo(root.widget.data(), QPoint(0, 0));
        painter.translate(at);
        painter.setClipRect(QRect(QPoint(0, 0), impl.widget->size()));
        impl.widget->Render(painter, QRect(QPoint(0, 0), impl.widget->size()));
        painter.restore();
    }
    return content;
}

} // namespace

void PictureBox::Impl::AskRepaint() {
    AskRepaint(widget ? widget->rect() : QRect());
}

void PictureBox::Impl::AskRepaint(const QRect& area) {
    Impl& root = Shown();
    if (!widget || !root.widget)
        return;
    const QPoint offset = &root == this ? QPoint() : widget->mapTo(root.widget.data(), QPoint());
    root.changed |= area.translated(offset) & root.widget->rect();
    if (root.repaintAsked)
        return;
    root.repaintAsked = true;
    // After the handler that changed it, before the program waits again: one upload for a
    // clear and three lines, and no wakeup of its own.
    Impl* target = &root;
    QTimer::singleShot(0, root.widget, [target] {
        target->repaintAsked = false;
        const QRect dirty = std::exchange(target->changed, QRect());
        if (!target->server || !target->widget || dirty.isEmpty())
            return;
        const double scale = target->Scale();
        // A pixel more round it: rounding at a fractional scale may take one from its edge.
        const QRect device = DeviceRect(dirty, scale).adjusted(-1, -1, 1, 1);
        target->server->Show(Content(*target, scale), device);
        FlushServer();
    });
}

PictureBox::PictureBox(Form& parent, double left, double top, double width, double height)
    : impl_(std::make_unique<Impl>()) {
    impl_->form = &parent;
    impl_->widget = new PictureWidget(*this, parent.Native().widget);
    impl_->widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                               TwipsToPixels(height));
    parent.Native().boxes.push_back(this);
}

PictureBox::PictureBox(PictureBox& parent, double left, double top, double width, double height)
    : impl_(std::make_unique<Impl>()) {
    impl_->form = parent.impl_->form;
    impl_->parent = &parent;
    impl_->widget = new PictureWidget(*this, parent.Native().widget);
    impl_->widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                               TwipsToPixels(height));
    impl_->form->Native().boxes.push_back(this);
}

PictureBox::~PictureBox() {
    auto& boxes = impl_->form->Native().boxes;
    boxes.erase(std::remove(boxes.begin(), boxes.end(), this), boxes.end());
    impl_->server.reset();
    delete impl_->widget.data();
}

void MoveToServer(PictureBox& box, std::uint32_t stageWindow) {
    PictureBox::Impl& impl = box.Native();
    PictureWidget* w = impl.widget;
    impl.shown = !w->isHidden();
    impl.serverScale = impl.form->Native().widget->devicePixelRatioF();
    if (impl.parent)
        impl.inParent = true;
    else {
        impl.serverAt = w->pos();
        impl.server = std::make_unique<ServerBox>(
            stageWindow, DeviceRect(w->geometry(), impl.Scale()), impl.shown);
    }
    // The widget keeps the box's state but its place (serverAt), hidden: Qt neither paints nor
    // moves anything of it.
    w->hide();
    impl.AskRepaint();
}

void PictureBox::SetBackColor(Color color) {
    impl_->widget->back = color;
    impl_->OnServer() ? impl_->AskRepaint() : impl_->widget->update();
}

void PictureBox::SetAutoSize(bool autoSize) {
    impl_->widget->autoSize = autoSize;
}

void PictureBox::SetPicture(const Picture& picture) {
    PictureWidget* w = impl_->widget;
    w->picture = picture;
    if (w->autoSize) {
        w->resize(picture.WidthPixels(), picture.HeightPixels());
        if (impl_->server) {
            const QSize size = DeviceSize(w->size(), impl_->Scale());
            impl_->server->Resize(size.width(), size.height());
        }
    }
    // All of the window it shows in: an auto-sized box may have grown or shrunk within it.
    impl_->OnServer() ? impl_->Shown().AskRepaint() : w->update();
}

void PictureBox::SetVisible(bool visible) {
    if (!impl_->OnServer()) {
        impl_->widget->setVisible(visible);
        return;
    }
    impl_->shown = visible;
    if (impl_->inParent) {
        impl_->AskRepaint();
        return;
    }
    impl_->server->SetShown(visible);
    FlushServer();
}

bool PictureBox::Visible() const {
    if (!impl_->OnServer())
        return impl_->widget->isVisible();
    return impl_->shown && (impl_->parent ? impl_->parent->Visible() : impl_->form->Visible());
}

double PictureBox::Left() const {
    return PixelsToTwips(impl_->server ? impl_->serverAt.x() : impl_->widget->x());
}
double PictureBox::Top() const {
    return PixelsToTwips(impl_->server ? impl_->serverAt.y() : impl_->widget->y());
}
double PictureBox::Width() const {
    return PixelsToTwips(impl_->widget->width());
}
double PictureBox::Height() const {
    return PixelsToTwips(impl_->widget->height());
}

void PictureBox::Move(double left, double top) {
    const QPoint at(TwipsToPixels(left), TwipsToPixels(top));
    if (impl_->server) {
        // One configure request, no reply awaited: the server moves the picture by itself. Not
        // flushed here: Qt's loop flushes the display after the timers of each of its passes,
        // so the move leaves in this same wakeup and a tick writes to the server once.
        impl_->serverAt = at;
        const QPoint device = DevicePoint(at, impl_->Scale());
        impl_->server->Move(device.x(), device.y());
        return;
    }
    PictureWidget* w = impl_->widget;
    const QRect before = w->geometry();
    w->move(at);
    if (impl_->inParent)
        impl_->parent->Native().AskRepaint(before | w->geometry()); // where it was, and is
}

void PictureBox::SetScale(double x1, double y1, double x2, double y2) {
    impl_->widget->drawing.SetScale(x1, y1, x2, y2);
}

void PictureBox::SetPenWidth(int pixels) {
    impl_->widget->drawing.SetPenWidth(pixels);
}
int PictureBox::PenWidth() const {
    return impl_->widget->drawing.PenWidth();
}

void PictureBox::Clear() {
    PictureWidget* w = impl_->widget;
    // On the server what the lines covered is drawn again: the rest of the picture has not changed.
    if (const LineDrawing::Area drawn = w->drawing.Clear(); !impl_->OnServer())
        w->update();
    else if (!drawn.Empty())
        impl_->AskRepaint(ToRect(drawn));
}

void PictureBox::DrawLine(double x1, double y1, double x2, double y2, Color color) {
    PictureWidget* w = impl_->widget;
    const QRect area =
        ToRect(LineDrawing::Around(w->drawing.Add(x1, y1, x2, y2, color, w->width(), w->height())));
    impl_->OnServer() ? impl_->AskRepaint(area) : w->update(area);
}

std::uintptr_t PictureBox::Handle() const {
    if (impl_->OnServer())
        return impl_->Shown().server->Window();
    return impl_->widget->winId();
}

} // namespace ui
