#pragma once
// The Qt backend's private implementation of the layer's objects: the widgets, pictures and
// state behind a form, a control, a picture box and a picture.

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/FormLife.h"
#include "ui/LineDrawing.h"
#include "ui/PictureBox.h"
#include "ui/Units.h"
#include "ui/qt/ServerBoxes.h"
#include "ui/qt/ServerPicture.h"

#include <QAbstractButton>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

namespace ui {

struct Picture::Data {
    QSize size; // of its own drawing: the picture's size in logical pixels
    // The program's own art: the resources its drawings are read from ("NAME@2x.KIND"), each
    // when first drawn, so that a face never shown, or a display at 100%, holds no pixels of
    // the drawings it does not show.
    QString artName, artKind;

    Data() = default;
    explicit Data(QPixmap decoded) : size(decoded.size()) {
        drawings_[OwnDrawing] = std::move(decoded);
    }

    // What to draw at a device scale: the drawing for it, or the next larger, or the largest.
    const QPixmap& At(double scale) const;

private:
    static constexpr int OwnDrawing = static_cast<int>(ArtDrawing::Own);
    // A drawing, decoded once; null where the art has none.
    const QPixmap& Drawing(ArtDrawing drawing) const;
    mutable std::optional<QPixmap> drawings_[3];
};

class FormWidget : public QWidget {
public:
    explicit FormWidget(Form& form);

    // A key pressed, a button pressed or the wheel turned over the form or any of its controls.
    void KeyDown();
    void MouseDown();
    void MouseWheel();
    // What a screen reader says of the window after its caption.
    const QString& Description() const { return description_; }
    void SetDescription(QString description) { description_ = std::move(description); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // None once the boxes live on the X server: the stage covers the form, and Qt keeps no
    // backing store of a screen's size for it.
    QPaintEngine* paintEngine() const override;

private:
    Form& form_;
    QString description_;
};

class PictureWidget : public QWidget {
public:
    PictureWidget(PictureBox& box, QWidget* parent);

    Color back = Black;
    Picture picture;
    bool autoSize = false;
    LineDrawing drawing;

    // Back colour, picture and lines, as the box shows them.
    void Render(QPainter& painter, const QRect& area) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    FormWidget* Form() const;
    PictureBox& box_;
};

// A button that is its picture, centred; the mask, if any, clips it.
class PictureButtonWidget : public QAbstractButton {
public:
    PictureButtonWidget(const Picture& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Picture picture_;
};

struct Form::Impl {
    FormWidget* widget = nullptr; // owned: deleted by ~Form
    std::vector<const Line*> lines;
    std::vector<PictureBox*> boxes; // in the order made, parents before their children
    int controls = 0;
    std::vector<Control*> labels;   // of the controls, the labels
    std::unique_ptr<Stage> stage;   // once its boxes live on the X server
    std::optional<Color> stageBack; // its colour, once set with the stage up
    FormLife life;
    bool startMaximized = false;
    std::optional<QString> monitor; // the screen it covers when shown maximised, by name
    bool destroyed = false;         // its X window was destroyed by another client
};

struct Control::Impl {
    QPointer<QWidget> widget; // a child of the form's widget, which may delete it first
    Form* form = nullptr;
    // A label on a form whose boxes live on the X server lives there too: an X window showing
    // the text over its ground, so that a change of colour is one upload and no repaint of the
    // form by Qt.
    std::unique_ptr<ServerBox> server;
    bool shown = true; // its own visibility, once on the server
    bool repaintAsked = false;
    std::optional<Color> ink; // the text colour, once on the server
    QImage coverage;          // of a label's text, kept while its text, font and size stay
    QString coverageKey;      // the text and font it was drawn for

    // On the server: the new content shown, once, when the program next waits.
    void AskRepaint();
    // On the server: the widget's place and size, and its content.
    void Refresh();
};

void MoveToServer(Control& label, std::uint32_t stageWindow);

// The box lives on the X server from now on (ServerPicture).
void MoveToServer(PictureBox& box, std::uint32_t stageWindow);

struct PictureBox::Impl {
    QPointer<PictureWidget> widget; // a child of the parent's widget, which may delete it first
    Form* form = nullptr;
    PictureBox* parent = nullptr;          // the box it lives in, if any
    std::unique_ptr<ServerPicture> server; // once it lives on the X server
};

} // namespace ui
