#pragma once
// A picture box: a child window that shows a background colour and a picture and can be drawn
// on with lines in a user coordinate system. The lines drawn since the last Clear are kept and
// repainted whenever the window system asks, so an expose or a move never loses them.

#include "ui/Color.h"
#include "ui/Picture.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace ui {

class Form;

class PictureBox {
public:
    // Geometry in twips, relative to the parent's inner area. Created visible.
    PictureBox(Form& parent, double left, double top, double width, double height);
    PictureBox(PictureBox& parent, double left, double top, double width, double height);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    void SetBackColor(Color color);
    // With auto-size on, the box takes the size of each picture put into it.
    void SetAutoSize(bool autoSize);
    void SetPicture(const Picture& picture);

    void SetVisible(bool visible);
    bool Visible() const;

    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void Move(double left, double top); // keeps the size; children move along

    // The user coordinates of the inner area's top-left and bottom-right corners.
    void SetScale(double x1, double y1, double x2, double y2);
    void SetPenWidth(int pixels);
    int PenWidth() const;
    // Removes every line drawn since the last Clear.
    void Clear();
    // A line between two points in user coordinates.
    void DrawLine(double x1, double y1, double x2, double y2, Color color);

    std::uintptr_t Handle() const;

    // A box with neither of these only decorates: it never takes the focus, and screen readers
    // pass over it.
    std::function<void()> OnClick;
    std::function<void()> OnKeyPress;
    // Pointer positions in twips within this box.
    std::function<void(float x, float y)> OnMouseMove;

    struct Impl;
    Impl& Native() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace ui
