#pragma once
// A top-level window. Its native window exists from construction on, hidden; the first Show
// runs the Load handler and then shows it. Geometry is in twips.

#include "ui/Color.h"
#include "ui/Screen.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ui {

enum class BorderStyle {
    None,           // no border and no title bar
    FixedToolWindow // a small title bar with the caption and a close box; fixed size
};

class Form {
public:
    Form();
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Appearance, set before the first Show.
    void SetCaption(const std::string& caption);
    // What a screen reader says of the window after its caption; nothing is drawn.
    void SetDescription(const std::string& description);
    void SetBackColor(Color color);
    Color BackColor() const;
    void SetBorderStyle(BorderStyle style);
    void SetClientSize(double widthTwips, double heightTwips);
    void SetStartMaximized(bool maximized); // covers the whole screen when shown
    // Maximised, it covers exactly this monitor, at its scale; shown already, it moves there.
    void SetMonitor(const screen::Monitor& monitor);
    void SetPointerInvisible(); // no pointer shows over the window
    // This window is the running screen saver: the system's request to start a screen saver
    // is refused while it exists, nothing keeps the display from powering off, and another
    // program taking the activation from it ends the process, as the system's savers do.
    void SetRunningScreenSaver(bool running);

    // A window of another program that owns this one (the display settings' own): this one stays
    // above it, and it takes no input while this one is open. Set before the first Show.
    void SetOwner(std::uintptr_t owner);

    // Runs Load once, if it has not run; the window stays hidden. A failure of the handler
    // reaches the caller, and the form is not loaded then.
    void Load();
    // Runs Load if needed, then shows the window without waiting for it and gives it the
    // keyboard focus.
    void Show();
    void Hide();
    // Runs Unload (its failures reach the caller), then hides the window; the next Show loads
    // it again. Closing by the close box or the window manager does the same. When no form is left
    // on the screen the process ends, as it does when a form's native window is destroyed from
    // outside.
    void Close();
    bool Visible() const;
    bool Loaded() const;

    // Outer geometry, in twips.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void Move(double left, double top);
    // Inner size, in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // The native window: an HWND on Windows, an X11 window id on Linux.
    std::uintptr_t Handle() const;

    // Handlers. Pointer positions are in twips within the window's inner area.
    std::function<void()> OnLoad;
    std::function<void()> OnResize;
    std::function<void()> OnUnload;
    std::function<void()> OnClick;
    std::function<void(float x, float y)> OnMouseMove;
    // Every key pressed while the window or any of its controls has the keyboard focus, Tab
    // included: a form with this handler does not move the focus with Tab.
    std::function<void()> OnKeyDown;
    // Every mouse button pressed, and every turn of the wheel, over the window or any of its
    // controls, after a control's own handler.
    std::function<void()> OnMouseDown;
    std::function<void()> OnMouseWheel;

    struct Impl;
    Impl& Native() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace ui
