#pragma once
// The standard controls of a form: labels, text boxes, option buttons, push buttons, picture
// buttons and lines. Geometry is in twips within the form's inner area; controls are created
// visible, in tab order, and destroyed with their form at the latest.

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Picture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ui {

class Form;

enum class Alignment { Left, Center };

// What every control has: a place, a size, a visibility and a native window.
class Control {
public:
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void SetVisible(bool visible);
    bool Visible() const; // its own flag: true for a control of a hidden form that would show
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void SetWidth(double width);
    void Move(double left, double top);
    void SetFont(const Font& font);
    // The text colour, and the background: a colour, or the form's own showing through.
    void SetForeColor(Color color);
    Color ForeColor() const;
    void SetBackColor(Color color);
    void SetTransparent();
    void SetFocus();
    bool HasFocus() const;
    std::uintptr_t Handle() const;

    struct Impl;
    Impl& Native() const { return *impl_; }

protected:
    explicit Control(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> impl_;
};

class Label : public Control {
public:
    Label(Form& form, double left, double top, double width, double height,
          const std::string& caption, Alignment alignment = Alignment::Left);
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // Makes this label the name screen readers give the field. On Windows the label then comes
    // just before the field in the tab order, which is where readers look for it.
    void Names(const Control& field);
};

class TextBox : public Control {
public:
    TextBox(Form& form, double left, double top, double width, double height);
    void SetText(const std::string& text);
    std::string Text() const;
};

// Option buttons of one form form one group: selecting one clears the others.
class OptionButton : public Control {
public:
    OptionButton(Form& form, double left, double top, double width, double height,
                 const std::string& caption);
    bool Value() const;
    void SetValue(bool selected); // selects without a Click
    std::string Caption() const;
    // The group the option belongs to, by the name a screen reader says with it, and its place
    // there ("2 of 4"); nothing is drawn. The arrow keys go through a form's options in the
    // order they were made, round from the last to the first.
    void SetGroup(const std::string& name, int position, int count);
    // A click, or a selection by the arrow keys.
    std::function<void()> OnClick;
};

// A button with a caption; "&" marks its access key.
class PushButton : public Control {
public:
    PushButton(Form& form, double left, double top, double width, double height,
               const std::string& caption);
    std::string Caption() const;
    std::function<void()> OnClick;
};

// A button that shows a picture, centred and clipped to the button, and no caption. Its name,
// the words the picture shows, is never drawn: it is what screen readers say.
class PictureButton : public Control {
public:
    PictureButton(Form& form, double left, double top, double width, double height,
                  const Picture& picture, const std::string& name);
    void SetToolTip(const std::string& text);
    std::string ToolTip() const;
    // Escape in its form presses it, as it presses a dialog's Cancel button.
    void SetCancel();
    std::function<void()> OnClick;
    // Moved to a monitor of another scale, after the button has its new size: where the
    // program gave it a region, it gives the region again, from its own figures, so that no
    // pixel drifts however often the button moves. Without it the system's region is scaled.
    std::function<void()> OnScaleChanged;
};

// A straight line drawn on the form's background, from one point to another, in twips.
class Line {
public:
    Line(Form& form, double x1, double y1, double x2, double y2, Color color, int widthPixels = 1);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    const double X1, Y1, X2, Y2;
    const Color LineColor;
    const int WidthPixels;

private:
    Form& form_;
};

} // namespace ui
