#pragma once
// A picture box once the X server shows it (ServerBoxes.h): an X window of its own on the
// form's stage, or drawn into its parent's. Its widget stays, hidden, keeping the box's
// content and size; Qt neither paints nor moves anything of it.

#include "ui/PictureBox.h"
#include "ui/qt/ServerBoxes.h"

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <memory>

namespace ui {

class ServerPicture {
public:
    ServerPicture(PictureBox& box, std::uint32_t stageWindow);
    ServerPicture(const ServerPicture&) = delete;
    ServerPicture& operator=(const ServerPicture&) = delete;

    // The new content shown, once, when the program next waits; only the part given (in this
    // box's logical pixels) is sent, so that a clock's hands moving each second send the hands,
    // not the dial.
    void Repaint();
    void Repaint(const QRect& area);
    // All of the window it shows in: an auto-sized box may have grown or shrunk within it.
    void RepaintWindow();
    void Resized();

    void SetVisible(bool visible);
    bool Visible() const;
    // In its parent's area, in logical pixels.
    QPoint Place() const;
    void Move(const QPoint& at);
    std::uint32_t Window() const;

private:
    // The box whose X window shows this one: itself, or the parent it is drawn into.
    ServerPicture& Shown();
    bool ShownWithin(const ServerPicture& root) const;
    QImage Content(double scale);

    PictureBox& box_;
    bool shown_;                        // its own visibility, whatever its parents'
    std::unique_ptr<ServerBox> window_; // its X window, unless it is drawn into its parent's
    // The scale its X window was laid out at: the one its moves and uploads keep to, not asked
    // of Qt again at each of them.
    double scale_;
    // Where a box with its own X window is, in logical pixels. Its hidden widget stays where it
    // was staged: a widget's move runs through more of Qt than the move of the window itself.
    QPoint at_;
    bool repaintAsked_ = false;
    QRect changed_; // of a box with its own X window: what to show anew, in its logical pixels
};

} // namespace ui
