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
    impl.server = std::make_unique<ServerPicture>(box, stageWindow);
    impl.server->Repaint();
}

void PictureBox::SetBackColor(Color color) {
    impl_->widget->back = color;
    impl_->server ? impl_->server->Repaint() : impl_->widget->update();
}

void PictureBox::SetAutoSize(bool autoSize) {
    impl_->widget->autoSize = autoSize;
}

void PictureBox::SetPicture(const Picture& picture) {
    PictureWidget* w = impl_->widget;
    w->picture = picture;
    if (w->autoSize) {
        w->resize(picture.WidthPixels(), picture.HeightPixels());
        if (impl_->server)
            impl_->server->Resized();
    }
    impl_->server ? impl_->server->RepaintWindow() : w->update();
}

void PictureBox::SetVisible(bool visible) {
    impl_->server ? impl_->server->SetVisible(visible) : impl_->widget->setVisible(visible);
}

bool PictureBox::Visible() const {
    return impl_->server ? impl_->server->Visible() : impl_->widget->isVisible();
}

double PictureBox::Left() const {
    return PixelsToTwips(impl_->server ? impl_->server->Place().x() : impl_->widget->x());
}
double PictureBox::Top() const {
    return PixelsToTwips(impl_->server ? impl_->server->Place().y() : impl_->widget->y());
}
double PictureBox::Width() const {
    return PixelsToTwips(impl_->widget->width());
}
double PictureBox::Height() const {
    return PixelsToTwips(impl_->widget->height());
}

void PictureBox::Move(double left, double top) {
    const QPoint at(TwipsToPixels(left), TwipsToPixels(top));
    impl_->server ? impl_->server->Move(at) : impl_->widget->move(at);
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
    if (const LineDrawing::Area drawn = w->drawing.Clear(); !impl_->server)
        w->update();
    else if (!drawn.Empty())
        impl_->server->Repaint(ToRect(drawn));
}

void PictureBox::DrawLine(double x1, double y1, double x2, double y2, Color color) {
    PictureWidget* w = impl_->widget;
    const QRect area =
        ToRect(LineDrawing::Around(w->drawing.Add(x1, y1, x2, y2, color, w->width(), w->height())));
    impl_->server ? impl_->server->Repaint(area) : w->update(area);
}

std::uintptr_t PictureBox::Handle() const {
    return impl_->server ? impl_->server->Window() : impl_->widget->winId();
}

} // namespace ui
