#include "ui/Dispatch.h"
#include "ui/FormList.h"
#include "ui/Units.h"
#include "ui/WindowCalls.h"
#include "ui/qt/Accessible.h"
#include "ui/qt/DisplayPower.h"
#include "ui/qt/Impl.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>

namespace ui {

namespace {

const QIcon& ProgramIcon() {
    static const QIcon icon(QStringLiteral(":/art/moondial.ico"));
    return icon;
}

// The control a form opens with: the first in the tab order, but of option buttons the one
// selected, as on Windows, so that a screen reader first tells the choice already made.
QWidget* FirstFocus(QWidget* form) {
    QWidget* first = form->nextInFocusChain();
    while (first != form && !((first->focusPolicy() & Qt::TabFocus) && first->isEnabled() &&
                              first->isVisibleTo(form)))
        first = first->nextInFocusChain();
    if (first == form)
        return nullptr;
    if (auto* option = qobject_cast<QRadioButton*>(first); option && !option->isChecked())
        for (auto* other :
             option->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            if (other->isChecked() && other->autoExclusive() && other->isVisibleTo(form))
                return other;
    return first;
}

} // namespace

FormWidget::FormWidget(Form& form) : form_(form) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setWindowIcon(ProgramIcon());
}

void FormWidget::resizeEvent(QResizeEvent*) {
    if (Form::Impl& impl = form_.Native(); impl.stage) {
        impl.stage->Resize(DeviceSize(size(), devicePixelRatioF()));
        FlushServer();
    }
    // Qt sizes a window just before it shows it: a handler that hides it then would be undone.
    form_.Native().life.Resized(form_, isVisible());
}

void FormWidget::closeEvent(QCloseEvent* event) {
    // The close box unloads the form as Close does; the window then hides.
    event->ignore();
    Guarded([this] { form_.Close(); });
}

namespace {

// A colour as the X server's 24-bit TrueColor pixel.
std::uint32_t PixelOf(Color color) {
    return std::uint32_t{color.Red} << 16 | std::uint32_t{color.Green} << 8 | color.Blue;
}

} // namespace

// A form of picture boxes and labels and nothing else (the saver, the preview) has them shown
// by the X server itself, on a stage over its window; a form with other controls keeps them all
// as widgets.
void MoveBoxesToServer(Form& form) {
    Form::Impl& impl = form.Native();
    if (impl.stage || impl.controls != static_cast<int>(impl.labels.size()) ||
        !impl.lines.empty() || impl.boxes.empty() ||
        QGuiApplication::platformName() != QStringLiteral("xcb"))
        return;
    impl.stage = Stage::Over(static_cast<std::uint32_t>(impl.widget->winId()),
                             DeviceSize(impl.widget->size(), impl.widget->devicePixelRatioF()),
                             PixelOf(form.BackColor()));
    if (!impl.stage)
        return;
    impl.widget->setAutoFillBackground(false);
    impl.widget->setAttribute(Qt::WA_PaintOnScreen);
    impl.widget->setAttribute(Qt::WA_NoSystemBackground);
    for (PictureBox* box : impl.boxes)
        MoveToServer(*box, impl.stage->Window());
    for (Control* label : impl.labels)
        MoveToServer(*label, impl.stage->Window());
    FlushServer();
}

void FormWidget::showEvent(QShowEvent*) {
    MoveBoxesToServer(form_);
    form_.Native().life.Shown(form_);
}

bool FormWidget::focusNextPrevChild(bool next) {
    // A form that sees every key sees Tab too, rather than losing it to the focus chain.
    return !form_.OnKeyDown && QWidget::focusNextPrevChild(next);
}

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    Dispatch(form_.OnMouseMove, static_cast<float>(at.x() * TwipsPerPixel),
             static_cast<float>(at.y() * TwipsPerPixel));
}

void FormWidget::mousePressEvent(QMouseEvent*) {
    MouseDown();
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Dispatch(form_.OnClick);
}

void FormWidget::wheelEvent(QWheelEvent*) {
    MouseWheel();
}

void FormWidget::KeyDown() {
    Dispatch(form_.OnKeyDown);
}

void FormWidget::MouseDown() {
    Dispatch(form_.OnMouseDown);
}

void FormWidget::MouseWheel() {
    Dispatch(form_.OnMouseWheel);
}

void FormWidget::keyPressEvent(QKeyEvent*) {
    KeyDown();
}

QPaintEngine* FormWidget::paintEngine() const {
    return testAttribute(Qt::WA_PaintOnScreen) ? nullptr : QWidget::paintEngine();
}

void FormWidget::paintEvent(QPaintEvent*) {
    if (testAttribute(Qt::WA_PaintOnScreen))
        return; // the stage shows the form
    const auto& lines = form_.Native().lines;
    if (lines.empty())
        return;
    QPainter painter(this);
    for (const Line* line : lines) {
        painter.setPen(
            QPen(QColor(line->LineColor.Red, line->LineColor.Green, line->LineColor.Blue),
                 line->WidthPixels, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(line->X1 / TwipsPerPixel, line->Y1 / TwipsPerPixel),
                         QPointF(line->X2 / TwipsPerPixel, line->Y2 / TwipsPerPixel));
    }
}

Form::Form() : impl_(std::make_unique<Impl>()) {
    static const bool accessible = [] {
        InstallAccessibleFactory();
        return true;
    }();
    (void)accessible;
    impl_->widget = new FormWidget(*this);
    impl_->widget->setAttribute(Qt::WA_NativeWindow);
    forms::Add(*this);
}

Form::~Form() {
    forms::Remove(*this);
    impl_->stage.reset();
    delete impl_->widget;
}

void Form::SetCaption(const std::string& caption) {
    impl_->widget->setWindowTitle(QString::fromStdString(caption));
}

void Form::SetDescription(const std::string& description) {
    impl_->widget->SetDescription(QString::fromStdString(description));
}

void Form::SetBackColor(Color color) {
    if (!impl_->stage) {
        QPalette palette = impl_->widget->palette();
        palette.setColor(QPalette::Window, QColor(color.Red, color.Green, color.Blue));
        impl_->widget->setPalette(palette);
        return;
    }
    // Kept here rather than in the hidden widget's palette, which Qt would hand down to every
    // control, each time, for nothing.
    impl_->stageBack = color;
    impl_->stage->SetBackColor(PixelOf(color));
    for (Control* label : impl_->labels)
        label->Native().AskRepaint(); // a transparent one shows the form's colour
    if (impl_->labels.empty())
        FlushServer(); // else with the labels' new content, in one write
}

Color Form::BackColor() const {
    if (impl_->stageBack)
        return *impl_->stageBack;
    const QColor c = impl_->widget->palette().color(QPalette::Window);
    return Rgb(c.red(), c.green(), c.blue());
}

void Form::SetBorderStyle(BorderStyle style) {
    QWidget* w = impl_->widget;
    if (style == BorderStyle::None) {
        w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    } else {
        w->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
        w->setFixedSize(w->size());
    }
}

void Form::SetClientSize(double widthTwips, double heightTwips) {
    QWidget* w = impl_->widget;
    const QSize size(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    if (w->minimumSize() == w->maximumSize())
        w->setFixedSize(size);
    else
        w->resize(size);
}

void Form::SetStartMaximized(bool maximized) {
    impl_->startMaximized = maximized;
}

namespace {

QScreen* ScreenNamed(const std::optional<QString>& name) {
    if (name)
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->name() == *name)
                return screen;
    return nullptr;
}

// Over exactly that screen, at its scale.
void ShowOver(QWidget* w, QScreen* screen) {
    w->setScreen(screen);
    w->setGeometry(screen->geometry());
    if (!(w->windowFlags() & Qt::X11BypassWindowManagerHint)) {
        w->showFullScreen();
        return;
    }
    // No window manager gives such a window the keyboard: it takes the input focus, so that a
    // key ends it whichever monitor the pointer is on. Never a grab: a locker that starts while
    // the saver shows must get the keyboard and the pointer, or the session stays unlocked.
    w->show();
    w->activateWindow();
    // Under Xwayland the compositor, not the X server, gives the keyboard, and lends it only to
    // an X client that grabs it. No X11 locker runs there: the compositor's own lock is above
    // every client, grab or not.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        w->grabKeyboard();
}

} // namespace

void Form::SetMonitor(const screen::Monitor& monitor) {
    impl_->monitor = QString::fromStdString(monitor.Name);
    QWidget* w = impl_->widget;
    // On X11 the window manager is left out of it, before the window is first made: it would
    // put every new window on the monitor that has the focus, one full-screen window hiding the
    // other, whatever screen each asked for.
    if (QGuiApplication::platformName() == QStringLiteral("xcb") &&
        !(w->windowFlags() & Qt::X11BypassWindowManagerHint) && !w->isVisible())
        w->setWindowFlags(w->windowFlags() | Qt::X11BypassWindowManagerHint);
    if (QScreen* screen = ScreenNamed(impl_->monitor); screen && w->isVisible())
        ShowOver(w, screen);
}

void Form::SetPointerInvisible() {
    impl_->widget->setCursor(Qt::BlankCursor);
}

// The owner of a dialog on X11 is a hint to the window manager: a transient window stays above
// the window it is transient for.
void Form::SetOwner(std::uintptr_t owner) {
    QWidget* w = impl_->widget;
    w->winId();
    if (QWindow* foreign = QWindow::fromWinId(static_cast<WId>(owner))) {
        foreign->setParent(nullptr);
        w->windowHandle()->setTransientParent(foreign);
    }
}

// X11 has no request for a screen saver to start that a window could refuse, and without a
// window manager's activation there is none to lose: the keyboard focus it takes is enough.
// The running saver sleeps while the display is off.
void Form::SetRunningScreenSaver(bool running) {
    if (running)
        WatchDisplayPower();
}

void Form::Load() {
    impl_->life.Load(*this, [this] {
        // Loaded afresh, it starts at the first in the tab order, not where it was last closed.
        if (QWidget* last = impl_->widget->focusWidget())
            last->clearFocus();
    });
}

void Form::Show() {
    if (!impl_->life.BeginShow(*this))
        return;
    QWidget* w = impl_->widget;
    // A form with controls that take the focus never holds it itself, as on Windows: neither a
    // click on its ground or on a picture nor Tab leaves a screen reader on the bare window.
    QWidget* first = FirstFocus(w);
    w->setFocusPolicy(first ? Qt::NoFocus : Qt::StrongFocus);
    if (first && (!w->focusWidget() || w->focusWidget() == w))
        first->setFocus(Qt::ActiveWindowFocusReason);
    if (QScreen* own = impl_->startMaximized ? ScreenNamed(impl_->monitor) : nullptr) {
        ShowOver(w, own);
    } else if (impl_->startMaximized) {
        // Over every monitor, as a saver must be: on X11 the root window spans them all, whatever
        // monitors Qt was told of. One monitor is simply full screen.
        QScreen* screen = QGuiApplication::primaryScreen();
        QRect desktop = screen->virtualGeometry();
        Rect root;
        if (GetClientRect(DesktopWindow(), root))
            desktop = desktop.united(QRect(0, 0, root.Right, root.Bottom));
        if (desktop != screen->geometry()) {
            w->setGeometry(desktop);
            w->show();
        } else {
            w->setGeometry(screen->geometry());
            w->showFullScreen();
        }
    } else {
        w->show();
    }
    // Keys typed while another program's window held the focus would never reach this one.
    if (w->isWindow() && w->isVisible())
        w->activateWindow();
}

void Form::Hide() {
    impl_->widget->hide();
}

void Form::Close() {
    impl_->life.Close(*this);
}

bool Form::Visible() const {
    return !impl_->destroyed && impl_->widget->isVisible();
}
bool Form::Loaded() const {
    return impl_->life.Loaded();
}

double Form::Left() const {
    return PixelsToTwips(impl_->widget->frameGeometry().x());
}
double Form::Top() const {
    return PixelsToTwips(impl_->widget->frameGeometry().y());
}
namespace {

// With the frame a window manager gives it. A borderless window's frame is the window: no frame
// margins to ask the platform for, 33 times a second, in the saver's motion.
QSize OuterSize(const QWidget* w) {
    return w->windowFlags().testFlag(Qt::FramelessWindowHint) ? w->size()
                                                              : w->frameGeometry().size();
}

} // namespace

double Form::Width() const {
    return PixelsToTwips(OuterSize(impl_->widget).width());
}
double Form::Height() const {
    return PixelsToTwips(OuterSize(impl_->widget).height());
}
double Form::ScaleWidth() const {
    return PixelsToTwips(impl_->widget->width());
}
double Form::ScaleHeight() const {
    return PixelsToTwips(impl_->widget->height());
}

void Form::Move(double left, double top) {
    impl_->widget->move(TwipsToPixels(left), TwipsToPixels(top));
}

std::uintptr_t Form::Handle() const {
    return impl_->widget->winId();
}

} // namespace ui
