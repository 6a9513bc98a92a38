#include "ui/Controls.h"

#include "ui/Dispatch.h"
#include "ui/Units.h"
#include "ui/qt/Impl.h"
#include "ui/qt/Picture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleOptionFocusRect>
#include <QTimer>

namespace ui {

namespace {

QColor ToQColor(Color c) {
    return QColor(c.Red, c.Green, c.Blue);
}

template <typename Widget, typename... Args>
std::unique_ptr<Control::Impl> Make(Form& form, double left, double top, double width,
                                    double height, Args&&... args) {
    auto impl = std::make_unique<Control::Impl>();
    auto* widget = new Widget(std::forward<Args>(args)..., form.Native().widget);
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
    widget->setFont(QFont("Arial", 9));
    impl->widget = widget;
    impl->form = &form;
    ++form.Native().controls;
    return impl;
}

// An option button whose arrow keys go through the options of its form in their order, as on
// Windows (Down and Right to the next, Up and Left to the previous, round from the last to the
// first), selecting as they go when the one left was selected; Qt would go to the nearest one
// on the screen in the arrow's direction, so that Down skipped a row's others.
class OptionWidget : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        const bool next = key == Qt::Key_Down || key == Qt::Key_Right;
        if ((!next && key != Qt::Key_Up && key != Qt::Key_Left) ||
            event->modifiers() & ~Qt::KeypadModifier)
            return QRadioButton::keyPressEvent(event);
        QList<QRadioButton*> group;
        for (auto* option : parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            if (option == this || (option->autoExclusive() && option->isVisibleTo(parentWidget()) &&
                                   option->isEnabled()))
                group.append(option);
        const auto count = group.size();
        const auto at = group.indexOf(this);
        QRadioButton* target = group[(at + (next ? 1 : count - 1)) % count];
        if (target == this)
            return;
        const bool selected = isChecked();
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        if (selected)
            target->click();
    }
};

// How much of each pixel (of each subpixel) the label's text covers, drawn as QLabel draws plain
// text: white on black.
QImage TextCoverage(const QLabel& label, double scale) {
    QImage coverage(DeviceSize(label.size(), scale), QImage::Format_RGB32);
    coverage.setDevicePixelRatio(scale);
    coverage.fill(Qt::black);
    QPainter painter(&coverage);
    painter.setFont(label.font());
    painter.setPen(Qt::white);
    const int wrap = label.wordWrap() ? Qt::TextWordWrap : 0;
    painter.drawText(label.contentsRect(), static_cast<int>(label.alignment()) | wrap,
                     label.text());
    return coverage;
}

// A label's text over its ground (its own colour, or the form's showing through): a blend of
// the two colours by the text's coverage, which is drawn anew only when the text, the font or
// the size changed. The preview changes both colours five times a second.
QImage LabelContent(Control::Impl& impl) {
    const auto* label = static_cast<const QLabel*>(impl.widget.data());
    const double scale = label->devicePixelRatioF();
    const QString key = label->text() + QLatin1Char('\n') + label->font().key();
    if (impl.coverage.size() != DeviceSize(label->size(), scale) || impl.coverageKey != key) {
        impl.coverage = TextCoverage(*label, scale);
        impl.coverageKey = key;
    }
    const Color form = impl.form->BackColor();
    const QColor ground = label->autoFillBackground() ? label->palette().color(QPalette::Window)
                                                      : QColor(form.Red, form.Green, form.Blue);
    const QColor ink =
        impl.ink ? ToQColor(*impl.ink) : label->palette().color(QPalette::WindowText);
    const int from[] = {ground.blue(), ground.green(), ground.red()};
    const int span[] = {ink.blue() - from[0], ink.green() - from[1], ink.red() - from[2]};
    QImage content(impl.coverage.size(), QImage::Format_RGB32);
    content.setDevicePixelRatio(scale);
    for (int y = 0; y < content.height(); ++y) {
        const auto* in = impl.coverage.constScanLine(y);
        auto* out = content.scanLine(y);
        for (int x = 0; x < content.width() * 4; x += 4) {
            for (int c = 0; c < 3; ++c)
                out[x + c] = static_cast<uchar>(from[c] + span[c] * in[x + c] / 255);
            out[x + 3] = 0xff;
        }
    }
    return content;
}

template <typename Widget> Widget* As(const Control::Impl& impl) {
    return static_cast<Widget*>(impl.widget.data());
}

} // namespace

void Control::Impl::AskRepaint() {
    if (!server || repaintAsked)
        return;
    repaintAsked = true;
    // After the handler that changed it, before the program waits again: one upload for a new
    // colour of the text and of the form behind it.
    QTimer::singleShot(0, widget, [this] {
        repaintAsked = false;
        if (!server || !widget)
            return;
        server->Show(LabelContent(*this));
        FlushServer();
    });
}

void Control::Impl::Refresh() {
    if (!server)
        return;
    const QRect place = DeviceRect(widget->geometry(), widget->devicePixelRatioF());
    server->Move(place.x(), place.y());
    server->Resize(place.width(), place.height());
    AskRepaint();
}

void MoveToServer(Control& label, std::uint32_t stageWindow) {
    Control::Impl& impl = label.Native();
    QWidget* w = impl.widget;
    impl.shown = !w->isHidden();
    impl.server = std::make_unique<ServerBox>(
        stageWindow, DeviceRect(w->geometry(), w->devicePixelRatioF()), impl.shown);
    // The widget keeps the label's state, hidden: Qt paints nothing of it.
    w->hide();
    impl.AskRepaint();
}

Control::Control(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Control::~Control() {
    auto& labels = impl_->form->Native().labels;
    labels.erase(std::remove(labels.begin(), labels.end(), this), labels.end());
    impl_->server.reset();
    delete impl_->widget.data();
}

void Control::SetVisible(bool visible) {
    if (!impl_->server) {
        impl_->widget->setVisible(visible);
        return;
    }
    impl_->shown = visible;
    impl_->server->SetShown(visible);
    FlushServer();
}
bool Control::Visible() const {
    return impl_->server ? impl_->shown : !impl_->widget->isHidden();
}
double Control::Left() const {
    return PixelsToTwips(impl_->widget->x());
}
double Control::Top() const {
    return PixelsToTwips(impl_->widget->y());
}
double Control::Width() const {
    return PixelsToTwips(impl_->widget->width());
}
double Control::Height() const {
    return PixelsToTwips(impl_->widget->height());
}
void Control::SetWidth(double width) {
    impl_->widget->resize(TwipsToPixels(width), impl_->widget->height());
    impl_->Refresh();
}
void Control::Move(double left, double top) {
    impl_->widget->move(TwipsToPixels(left), TwipsToPixels(top));
    impl_->Refresh();
}

void Control::SetFont(const Font& font) {
    QFont qfont(QString::fromStdString(font.Name));
    qfont.setPointSizeF(font.Points);
    qfont.setBold(font.Bold);
    impl_->widget->setFont(qfont);
    impl_->AskRepaint();
}

void Control::SetForeColor(Color color) {
    if (impl_->server) {
        impl_->ink = color; // the hidden widget's palette would only cost a change event
        impl_->AskRepaint();
        return;
    }
    QWidget* w = impl_->widget;
    QPalette palette = w->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, ToQColor(color));
    w->setPalette(palette);
}

Color Control::ForeColor() const {
    if (impl_->ink)
        return *impl_->ink;
    const QColor c = impl_->widget->palette().color(QPalette::WindowText);
    return Rgb(c.red(), c.green(), c.blue());
}

void Control::SetBackColor(Color color) {
    QWidget* w = impl_->widget;
    QPalette palette = w->palette();
    // A text box fills its field with it; other controls only their ground, so an option
    // button's circle stays its own.
    for (auto role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, ToQColor(color));
    if (qobject_cast<QLineEdit*>(w))
        palette.setColor(QPalette::Base, ToQColor(color));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
    impl_->AskRepaint();
}

void Control::SetTransparent() {
    impl_->widget->setAutoFillBackground(false);
    impl_->AskRepaint();
}

void Control::SetFocus() {
    impl_->widget->setFocus(Qt::OtherFocusReason);
}
bool Control::HasFocus() const {
    return impl_->widget->hasFocus();
}

std::uintptr_t Control::Handle() const {
    return impl_->server ? impl_->server->Window() : impl_->widget->winId();
}

Label::Label(Form& form, double left, double top, double width, double height,
             const std::string& caption, Alignment alignment)
    : Control(Make<QLabel>(form, left, top, width, height, QString::fromStdString(caption))) {
    auto* label = As<QLabel>(Native());
    label->setAlignment((alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
                        Qt::AlignTop);
    label->setWordWrap(true);
    form.Native().labels.push_back(this);
}

void Label::SetCaption(const std::string& caption) {
    As<QLabel>(Native())->setText(QString::fromStdString(caption));
    Native().AskRepaint();
}
std::string Label::Caption() const {
    return As<QLabel>(Native())->text().toStdString();
}

void Label::Names(const Control& field) {
    As<QLabel>(Native())->setBuddy(field.Native().widget);
}

TextBox::TextBox(Form& form, double left, double top, double width, double height)
    : Control(Make<QLineEdit>(form, left, top, width, height)) {}

void TextBox::SetText(const std::string& text) {
    As<QLineEdit>(Native())->setText(QString::fromStdString(text));
}
std::string TextBox::Text() const {
    return As<QLineEdit>(Native())->text().toStdString();
}

OptionButton::OptionButton(Form& form, double left, double top, double width, double height,
                           const std::string& caption)
    : Control(Make<OptionWidget>(form, left, top, width, height, QString::fromStdString(caption))) {
    // A click, or an arrow key that moves the selection within the group.
    QObject::connect(As<QRadioButton>(Native()), &QAbstractButton::clicked,
                     [this] { Dispatch(OnClick); });
}

void OptionButton::SetGroup(const std::string& name, int position, int count) {
    Native().widget->setAccessibleDescription(
        QString::fromStdString(name) + QStringLiteral(", %1 of %2").arg(position).arg(count));
}

bool OptionButton::Value() const {
    return As<QRadioButton>(Native())->isChecked();
}
void OptionButton::SetValue(bool selected) {
    As<QRadioButton>(Native())->setChecked(selected);
}
std::string OptionButton::Caption() const {
    return As<QRadioButton>(Native())->text().toStdString();
}

PushButton::PushButton(Form& form, double left, double top, double width, double height,
                       const std::string& caption)
    : Control(Make<QPushButton>(form, left, top, width, height, QString::fromStdString(caption))) {
    auto* button = As<QPushButton>(Native());
    button->setAutoDefault(true); // Enter presses the focused button, as in a dialog
    QObject::connect(button, &QAbstractButton::clicked, [this] { Dispatch(OnClick); });
}

std::string PushButton::Caption() const {
    return As<QPushButton>(Native())->text().toStdString();
}

PictureButtonWidget::PictureButtonWidget(const Picture& picture, QWidget* parent)
    : QAbstractButton(parent), picture_(picture) {
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButtonWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int shift = isDown() ? 1 : 0;
    DrawPicture(painter, picture_,
                QPointF((width() - picture_.WidthPixels()) / 2 + shift,
                        (height() - picture_.HeightPixels()) / 2 + shift));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = (mask().isEmpty() ? rect() : mask().boundingRect()).adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void PictureButtonWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        click();
    else
        QAbstractButton::keyPressEvent(event);
}

PictureButton::PictureButton(Form& form, double left, double top, double width, double height,
                             const Picture& picture, const std::string& name)
    : Control(Make<PictureButtonWidget>(form, left, top, width, height, picture)) {
    Native().widget->setAccessibleName(QString::fromStdString(name));
    QObject::connect(As<PictureButtonWidget>(Native()), &QAbstractButton::clicked,
                     [this] { Dispatch(OnClick); });
}

void PictureButton::SetCancel() {
    auto* button = As<PictureButtonWidget>(Native());
    new QShortcut(
        QKeySequence(Qt::Key_Escape), button, [button] { button->click(); }, Qt::WindowShortcut);
}

void PictureButton::SetToolTip(const std::string& text) {
    Native().widget->setToolTip(QString::fromStdString(text));
}
std::string PictureButton::ToolTip() const {
    return Native().widget->toolTip().toStdString();
}

Line::Line(Form& form, double x1, double y1, double x2, double y2, Color color, int widthPixels)
    : X1(x1), Y1(y1), X2(x2), Y2(y2), LineColor(color), WidthPixels(widthPixels), form_(form) {
    form_.Native().lines.push_back(this);
    form_.Native().widget->update();
}

Line::~Line() {
    auto& lines = form_.Native().lines;
    lines.erase(std::remove(lines.begin(), lines.end(), this), lines.end());
}

} // namespace ui
