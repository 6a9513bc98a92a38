#include "ui/Dispatch.h"
#include "ui/Form.h"
#include "ui/Units.h"
#include "ui/qt/Widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace ui {

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    // A native child window: moving it is one request the X server carries out by copying.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QPointF PictureWidget::ToPixels(double x, double y) const {
    if (scaleWidth == 0 || scaleHeight == 0)
        return {x / TwipsPerPixel, y / TwipsPerPixel};
    return {(x - scaleLeft) * width() / scaleWidth, (y - scaleTop) * height() / scaleHeight};
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(back.Red, back.Green, back.Blue));
    if (!picture.Empty())
        painter.drawPixmap(0, 0, picture.Get()->pixmap);
    for (const Line& line : lines) {
        painter.setPen(QPen(line.color, line.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(line.from, line.to);
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

PictureBox::Impl* Create(PictureBox& box, QWidget* parent, double left, double top, double width,
                         double height, std::unique_ptr<PictureBox::Impl>& impl) {
    impl = std::make_unique<PictureBox::Impl>();
    impl->widget = new PictureWidget(box, parent);
    impl->widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                              TwipsToPixels(height));
    return impl.get();
}

// Enough around a line's end points to cover its round caps.
QRect Around(const PictureWidget::Line& line) {
    const int margin = line.width / 2 + 2;
    return QRectF(line.from, line.to)
        .normalized()
        .toAlignedRect()
        .adjusted(-margin, -margin, margin, margin);
}

} // namespace

PictureBox::PictureBox(Form& parent, double left, double top, double width, double height) {
    Create(*this, parent.Native().widget, left, top, width, height, impl_);
}

PictureBox::PictureBox(PictureBox& parent, double left, double top, double width, double height) {
    Create(*this, parent.Native().widget, left, top, width, height, impl_);
}

PictureBox::~PictureBox() {
    delete impl_->widget.data();
}

void PictureBox::SetBackColor(Color color) {
    impl_->widget->back = color;
    impl_->widget->update();
}

void PictureBox::SetAutoSize(bool autoSize) {
    impl_->widget->autoSize = autoSize;
}

void PictureBox::SetPicture(const Picture& picture) {
    PictureWidget* w = impl_->widget;
    w->picture = picture;
    if (w->autoSize)
        w->resize(picture.WidthPixels(), picture.HeightPixels());
    w->update();
}

void PictureBox::SetVisible(bool visible) {
    impl_->widget->setVisible(visible);
}
bool PictureBox::Visible() const {
    return impl_->widget->isVisible();
}

double PictureBox::Left() const {
    return PixelsToTwips(impl_->widget->x());
}
double PictureBox::Top() const {
    return PixelsToTwips(impl_->widget->y());
}
double PictureBox::Width() const {
    return PixelsToTwips(impl_->widget->width());
}
double PictureBox::Height() const {
    return PixelsToTwips(impl_->widget->height());
}

void PictureBox::Move(double left, double top) {
    impl_->widget->move(TwipsToPixels(left), TwipsToPixels(top));
}

void PictureBox::SetScale(double x1, double y1, double x2, double y2) {
    PictureWidget* w = impl_->widget;
    w->scaleLeft = x1;
    w->scaleTop = y1;
    w->scaleWidth = x2 - x1;
    w->scaleHeight = y2 - y1;
}

void PictureBox::SetPenWidth(int pixels) {
    impl_->widget->penWidth = pixels;
}
int PictureBox::PenWidth() const {
    return impl_->widget->penWidth;
}

void PictureBox::Clear() {
    PictureWidget* w = impl_->widget;
    w->lines.clear();
    w->update();
}

void PictureBox::DrawLine(double x1, double y1, double x2, double y2, Color color) {
    PictureWidget* w = impl_->widget;
    w->lines.push_back({w->ToPixels(x1, y1), w->ToPixels(x2, y2),
                        QColor(color.Red, color.Green, color.Blue), std::max(1, w->penWidth)});
    w->update(Around(w->lines.back()));
}

std::uintptr_t PictureBox::Handle() const {
    return impl_->widget->winId();
}

} // namespace ui
