#pragma once
// Picture boxes the X server shows by itself: each an X window whose background pixmap holds
// the box's whole content (back colour, picture and lines), so that a move is one configure
// request and an exposure costs the program nothing. They live on a "stage", an X window of
// their own over the form with a black background pixel, which selects no events: moving a
// box makes the server paint the stage and tell no one. Pointer and key events pass through
// to the form's own window, which Qt handles as before.
//
// Used for the forms that hold picture boxes and labels and no other controls (the saver, the
// preview), on the xcb platform; the offscreen platform of the form tests keeps plain widgets.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <memory>

namespace ui {

class ServerBox {
public:
    // Inside the stage (parent 0) or inside another box.
    ServerBox(std::uint32_t parentWindow, const QRect& geometry, bool shown);
    ~ServerBox();
    ServerBox(const ServerBox&) = delete;
    ServerBox& operator=(const ServerBox&) = delete;

    void Move(int x, int y);
    void Resize(int width, int height);
    void SetShown(bool shown);
    // The box's content, of its own size; the server shows it from now on. Where only a part
    // changed (in device pixels), only that part is sent and shown anew.
    void Show(const QImage& content);
    void Show(const QImage& content, const QRect& changed);
    std::uint32_t Window() const { return window_; }

private:
    std::uint32_t window_ = 0;
    std::uint32_t pixmap_ = 0;
    QSize size_;
};

// The stage of a form's top-level X window, or nothing when boxes cannot live on the server
// (another platform, an unusual visual).
class Stage {
public:
    static std::unique_ptr<Stage> Over(std::uint32_t formWindow, const QSize& size,
                                       std::uint32_t backRgb);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;
    void Resize(const QSize& size);
    // The form's new colour, shown at once wherever no box covers the stage.
    void SetBackColor(std::uint32_t rgb);
    std::uint32_t Window() const { return window_; }

private:
    explicit Stage(std::uint32_t window) : window_(window) {}
    std::uint32_t window_;
};

// Sends what was asked of the server so far, without waiting for any answer.
void FlushServer();

// The X server counts device pixels; Qt's widgets count logical ones, `scale` device pixels
// each. Each edge and length is rounded once.
QPoint DevicePoint(const QPoint& logical, double scale);
QSize DeviceSize(const QSize& logical, double scale);
QRect DeviceRect(const QRect& logical, double scale);

} // namespace ui
