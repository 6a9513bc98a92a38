#pragma once
// The Win32 windows and bitmaps behind the forms layer's objects.

#include "ui/Form.h"
#include "ui/PictureBox.h"

#include <memory>
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

// Throws the calling thread's last Win32 error.
[[noreturn]] void FailLastError();

} // namespace win32

struct Picture::Data {
    win32::GdiObject<HBITMAP> bitmap; // a 32-bit top-down DIB section, alpha premultiplied
    int width = 0;
    int height = 0;
    bool opaque = true; // every pixel's alpha is full, so a plain copy draws it
};

struct Form::Impl {
    HWND window = nullptr;          // destroyed by ~Form; null once the system has destroyed it
    win32::GdiObject<HBRUSH> brush; // the back colour, which the form's erase fills in
    Color back;
    HCURSOR pointer = nullptr; // a shared resource cursor, not destroyed
    bool pointerInvisible = false;
    bool runningScreenSaver = false;
    bool loaded = false;
    bool startMaximized = false;
    bool pressed = false;      // the left button went down here and is not up yet
    bool showing = false;      // inside Show's ShowWindow
    bool resizePending = true; // resized while hidden: the next Show reports it
    HWND focus = nullptr;      // the control that had the focus when the form was deactivated
};

struct PictureBox::Impl {
    HWND window = nullptr; // destroyed by ~PictureBox or with its parent, whichever comes first
    Form* form = nullptr;  // the form it lives in, which sees its keys
    Color back = Black;
    Picture picture;
    bool autoSize = false;
    double scaleLeft = 0, scaleTop = 0, scaleWidth = 0, scaleHeight = 0; // 0: pixels in twips
    int penWidth = 1;
    bool pressed = false;

    struct Point {
        double x, y;
    };
    struct Line {
        Point from, to; // pixels
        COLORREF color;
        int width;
    };
    std::vector<Line> lines;

    Point ToPixels(double x, double y) const;
};

} // namespace ui
