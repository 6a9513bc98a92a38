#pragma once
// The Win32 windows and bitmaps behind the forms layer's objects.

#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Form.h"
#include "ui/FormLife.h"
#include "ui/LineDrawing.h"
#include "ui/PictureBox.h"
#include "ui/Units.h"
#include "ui/win32/Dpi.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace ui {

namespace win32 {

// One GDI object (pen, brush, bitmap), deleted with its holder.
template <typename Handle> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    void Reset(Handle handle = nullptr) {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }
    Handle Get() const { return handle_; }

private:
    Handle handle_ = nullptr;
};

// A memory device context, deleted with its holder.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context until the holder goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

class Painting {
public:
    explicit Painting(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~Painting() { EndPaint(window_, &paint_); }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

inline COLORREF ToColorRef(Color color) {
    return RGB(color.Red, color.Green, color.Blue);
}

// A registered window class, unregistered with its holder (after its last window is gone).
class WindowClass {
public:
    // Registers the class in this program's module.
    explicit WindowClass(WNDCLASSEXW description);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    const wchar_t* Name() const { return name_.c_str(); }

private:
    std::wstring name_;
};

// A message-only window of a class of its own, for messages no form is there to take; destroyed
// with its holder. Throws when the system cannot make it.
class MessageWindow {
public:
    MessageWindow(const wchar_t* className, WNDPROC procedure);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND Get() const { return window_; }

private:
    WindowClass class_;
    HWND window_;
};

// A 32-bit top-down DIB section of that size, its rows at *bits; null when there is no room.
HBITMAP MakeDibSection(int width, int height, void** bits);

// The classes of every form's window and every picture box's.
inline constexpr const wchar_t* FormClassName = L"MoondialForm";
inline constexpr const wchar_t* PictureBoxClassName = L"MoondialPicture";

// Throws the calling thread's last Win32 error.
[[noreturn]] void FailLastError();

// Draws a decoded picture with its top-left corner at (x, y), filling width x height device
// pixels: from the art's own drawing for that size where it has one, else resized smoothly.
void DrawPicture(HDC target, const Picture::Data& picture, int x, int y, int width, int height);

// After the form's DPI changed from `from` to `to`: its controls and boxes take their places,
// fonts and regions at the new one.
void LayOutAgain(HWND form, UINT from, UINT to);
// A form placed in another window, or whose host moved to a monitor of another scale, is told
// the scale it lives at now and laid out at it: the preview at its pane's, not at the scale of
// the monitor it was made on.
void ScaleFollowsHost(HWND form);

// Monitors came, went or changed: the program's listener runs once the event loop is back.
void MonitorsChanged();

// The control's font made again at its form's DPI.
void RemakeFont(Control::Impl& control);

// What a form does for its controls: their colours, their presses and a picture button's face.
HBRUSH ControlColors(HWND control, HDC dc, HBRUSH formBrush);
bool ControlPressed(HWND control);
// The labels the form's own colour shows through, after that colour changed.
void RepaintTransparentControls(HWND form);
void DrawControl(const DRAWITEMSTRUCT& item, HBRUSH formBrush);

// The keys of a dialog (Tab, arrows, access keys, Enter) for a form that does not take every
// key itself; true when the message was one of them and is handled.
bool DialogKey(MSG& message);

} // namespace win32

struct Picture::Data {
    win32::GdiObject<HBITMAP> bitmap;      // a 32-bit top-down DIB section, alpha premultiplied
    const std::uint32_t* pixels = nullptr; // the section's rows
    int width = 0;
    int height = 0;
    bool opaque = true; // every pixel's alpha is full, so a plain copy draws it
    // The art's own drawings at 1.5x and 2x, where it has them.
    std::shared_ptr<const Data> larger[2];
    // The last size drawn at that no drawing has, made once.
    mutable std::shared_ptr<const Data> resized;

    // The drawing for a size of width x height device pixels: the one at that scale, else the
    // next larger, else the largest.
    const Data& For(int width, int height) const;
    // A larger drawing, or null where the art has none.
    const Data* Larger(ArtDrawing drawing) const {
        return drawing == ArtDrawing::Own ? this : larger[static_cast<int>(drawing) - 1].get();
    }
};

struct Form::Impl {
    HWND window = nullptr;          // destroyed by ~Form; null once the system has destroyed it
    win32::GdiObject<HBRUSH> brush; // the back colour, which the form's erase fills in
    std::vector<const Line*> lines; // drawn on the background
    Color back;
    HCURSOR pointer = nullptr; // a shared resource cursor, not destroyed
    bool pointerInvisible = false;
    bool runningScreenSaver = false;
    HWND owner = nullptr; // another program's window, disabled while this form shows
    FormLife life;
    bool startMaximized = false;
    bool pressed = false;      // the left button went down here and is not up yet
    HWND focus = nullptr;      // the control that had the focus when the form was deactivated
    UINT dpi = win32::BaseDpi; // the DPI of the monitor it is on, which it is laid out at
    double clientWidth = 0, clientHeight = 0; // twips, as last set; 0: as the system made it
    std::optional<RECT> monitor; // the monitor it covers when shown maximised, device pixels
    // The running saver's news of the display's power: the console's, and the monitors'.
    std::array<HPOWERNOTIFY, 2> displayNotices{};
};

// A standard control: a window of a system class. Its colours and what it does when pressed or
// drawn are told to its form, which the system asks.
struct Control::Impl {
    HWND window = nullptr; // destroyed by ~Control or with its form, whichever comes first
    Form* form = nullptr;
    HWND toolTip = nullptr;
    std::string toolTipText;
    COLORREF fore = RGB(0, 0, 0);
    bool transparent = false;
    win32::GdiObject<HBRUSH> back; // none: the system's own background
    COLORREF backColor = 0;
    win32::GdiObject<HFONT> font;
    Font fontSpec;                                   // what the font is made from, at each DPI
    double left = 0, top = 0, width = 0, height = 0; // twips, as last set
    Picture picture;                                 // a picture button's
    std::function<void()> pressed;                   // the control's Click
    // A new scale, laid out: true where the program made the control's region again.
    std::function<bool()> scaleChanged;
    bool ownerDrawn = false;
};

struct PictureBox::Impl {
    HWND window = nullptr; // destroyed by ~PictureBox or with its parent, whichever comes first
    Form* form = nullptr;  // the form it lives in, which sees its keys
    Color back = Black;
    Picture picture;
    bool autoSize = false;
    LineDrawing drawing;
    bool pressed = false;
    double left = 0, top = 0, width = 0, height = 0; // twips, as last set
};

} // namespace ui
