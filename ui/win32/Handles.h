#pragma once
// The Win32 handles the backend holds, each released by its holder: GDI objects, device
// contexts, a paint, window classes and message-only windows.

#include <string>
#include <utility>
#include <windows.h>

namespace ui::win32 {

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

} // namespace ui::win32
