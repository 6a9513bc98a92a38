#include "ui/Dispatch.h"
#include "ui/FormList.h"
#include "ui/Services.h"
#include "ui/Units.h"
#include "ui/Wakeup.h"
#include "ui/win32/AccessibleText.h"
#include "ui/win32/Controls.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/LastError.h"
#include "ui/win32/Resources.h"
#include "ui/win32/SystemLibrary.h"
#include "ui/win32/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <windowsx.h>

namespace ui {

using win32::form::ClientSize;
using win32::form::SetClientPixels;
using win32::form::TakeDpi;
using win32::form::VirtualScreen;

Form* win32::form::FormOf(HWND window) {
    return reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

namespace {

// Children paint themselves; the form's background never paints over them.
constexpr DWORD SizableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD PopupStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD ToolStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// What a border change keeps of the old styles.
constexpr DWORD KeptStyle = WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE | WS_DISABLED;

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Form* form = win32::form::FormOf(window);
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    Form::Impl& impl = form->Native();

    switch (message) {
    case WM_NCDESTROY:
        // Destroyed from outside (~Form lets no message reach here): the preview's pane went,
        // or another program destroyed the window. No handler runs on a window that is gone.
        impl.window = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        impl.life.Destroyed();
        break;
    case WM_CLOSE:
        Guarded([form] { form->Close(); });
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // nothing here asks the user: the choice is stored as the session ends
    case WM_ENDSESSION:
        // The process may be ended once this returns: the forms unload now.
        if (wParam)
            Guarded([] { forms::EndSession(); });
        return 0;
    case WM_SYSCOMMAND:
        // A saver already runs; another start would cover it. Monitor power passes through.
        if (impl.runningScreenSaver && (wParam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        break;
    }
    for (const auto part : {win32::form::Input, win32::form::Paint, win32::form::Scale})
        if (const win32::form::Answer answer = part(window, *form, message, wParam, lParam))
            return *answer;
    if (const auto answer = win32::DisplayPowerNews::Heard(message, wParam, lParam))
        return *answer;
    return DefWindowProcW(window, message, wParam, lParam);
}

// One class for every form; each fills its own background with its own brush.
const wchar_t* FormClass() {
    static const win32::WindowClass registered([] {
        WNDCLASSEXW classInfo{};
        classInfo.lpfnWndProc = FormProcedure;
        classInfo.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MOONDIAL_ICON));
        classInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        classInfo.lpszClassName = win32::FormClassName;
        return classInfo;
    }());
    return registered.Name();
}

} // namespace

Form::Form() : impl_(std::make_unique<Impl>()) {
    const Color face = [] {
        const COLORREF c = GetSysColor(COLOR_BTNFACE);
        return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }();
    impl_->back = face;
    impl_->brush.Reset(CreateSolidBrush(win32::ToColorRef(face)));
    impl_->window = CreateWindowExW(0, FormClass(), L"", SizableStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), this);
    if (!impl_->window)
        win32::FailLastError();
    impl_->dpi = win32::DpiOfMonitor(impl_->window);
    forms::Add(*this);
}

Form::~Form() {
    forms::Remove(*this);
    if (impl_->owner && IsWindow(impl_->owner))
        EnableWindow(impl_->owner, TRUE);
    if (impl_->window) {
        // No handler runs for a form that is going away.
        SetWindowLongPtrW(impl_->window, GWLP_USERDATA, 0);
        DestroyWindow(impl_->window);
    }
}

void Form::SetCaption(const std::string& caption) {
    SetWindowTextW(impl_->window, win32::Wide(caption).c_str());
}

void Form::SetDescription(const std::string& description) {
    win32::SetAccessibleDescription(impl_->window, description);
}

void Form::SetBackColor(Color color) {
    win32::GdiObject<HBRUSH> brush(CreateSolidBrush(win32::ToColorRef(color)));
    if (!brush.Get())
        win32::FailLastError();
    impl_->back = color;
    impl_->brush = std::move(brush);
    InvalidateRect(impl_->window, nullptr, TRUE);
    win32::RepaintTransparentControls(impl_->window);
}

Color Form::BackColor() const {
    return impl_->back;
}

void Form::SetBorderStyle(BorderStyle style) {
    const HWND window = impl_->window;
    const SIZE client = ClientSize(window);
    const DWORD kept = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & KeptStyle;
    const DWORD topmost =
        static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)) & WS_EX_TOPMOST;
    const bool tool = style == BorderStyle::FixedToolWindow;
    SetWindowLongPtrW(window, GWL_STYLE, (tool ? ToolStyle : PopupStyle) | kept);
    SetWindowLongPtrW(window, GWL_EXSTYLE, (tool ? WS_EX_TOOLWINDOW : 0) | topmost);
    SetClientPixels(window, client, SWP_FRAMECHANGED);
}

void Form::SetClientSize(double widthTwips, double heightTwips) {
    impl_->clientWidth = widthTwips;
    impl_->clientHeight = heightTwips;
    SetClientPixels(impl_->window, {win32::ToDevice(impl_->window, widthTwips),
                                    win32::ToDevice(impl_->window, heightTwips)});
}

void Form::SetStartMaximized(bool maximized) {
    impl_->startMaximized = maximized;
}

void Form::SetMonitor(const screen::Monitor& monitor) {
    const RECT area{monitor.Left, monitor.Top, monitor.Left + monitor.Width,
                    monitor.Top + monitor.Height};
    impl_->monitor = area;
    const auto dpi = static_cast<UINT>(std::lround(monitor.Scale * win32::BaseDpi));
    if (dpi != impl_->dpi)
        TakeDpi(impl_->window, *impl_, dpi);
    if (IsWindowVisible(impl_->window))
        SetWindowPos(impl_->window, nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetPointerInvisible() {
    // The transparent pointer; without it, no pointer at all hides it as well.
    impl_->pointer = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MOONDIAL_POINTER));
    impl_->pointerInvisible = true;
    POINT at{};
    GetCursorPos(&at);
    const HWND under = WindowFromPoint(at);
    if (under && (under == impl_->window || IsChild(impl_->window, under)))
        SetCursor(impl_->pointer);
}

void Form::SetOwner(std::uintptr_t owner) {
    impl_->owner = reinterpret_cast<HWND>(owner);
    SetWindowLongPtrW(impl_->window, GWLP_HWNDPARENT, static_cast<LONG_PTR>(owner));
}

void Form::SetRunningScreenSaver(bool running) {
    impl_->runningScreenSaver = running;
    // Asleep while the display is: nothing moves in front of a dark screen.
    if (running)
        impl_->displayPower.Ask(impl_->window);
}

void Form::Load() {
    // Loaded afresh, it starts at the first in the tab order.
    impl_->life.Load(*this, [this] { impl_->focus = nullptr; });
}

void Form::Show() {
    if (!impl_->life.BeginShow(*this) || !impl_->window)
        return;
    const HWND window = impl_->window;
    if (impl_->owner) // as a modal dialog of the owner's
        EnableWindow(impl_->owner, FALSE);
    if (!IsWindowVisible(window)) {
        // Activated while hidden (SetWindowPos without SWP_NOACTIVATE), the form took the focus
        // before it was on the screen, and Wine's X11 driver could not pass it on then.
        const bool activeWhileHidden = GetForegroundWindow() == window;
        {
            const FormLife::Showing showing(impl_->life);
            if (impl_->startMaximized && impl_->monitor) {
                const RECT& area = *impl_->monitor;
                SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left,
                             area.bottom - area.top, SWP_NOZORDER | SWP_SHOWWINDOW);
            } else if (impl_->startMaximized && GetSystemMetrics(SM_CMONITORS) > 1) {
                // Maximised, a window covers one monitor: a saver covers them all.
                const RECT desktop = VirtualScreen();
                SetWindowPos(window, nullptr, desktop.left, desktop.top,
                             desktop.right - desktop.left, desktop.bottom - desktop.top,
                             SWP_NOZORDER | SWP_SHOWWINDOW);
            } else {
                ShowWindow(window, impl_->startMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
            }
        }
        // Keys typed while another program's window held the focus would never reach it.
        SetForegroundWindow(window);
        if (activeWhileHidden) {
            const HWND focus = GetFocus();
            SetFocus(nullptr);
            SetFocus(focus ? focus : window);
        }
    } else {
        if (impl_->startMaximized && !impl_->monitor && !IsZoomed(window) &&
            GetSystemMetrics(SM_CMONITORS) <= 1)
            ShowWindow(window, SW_SHOWMAXIMIZED);
        // Shown already by a call of its load (without activation): it is the one in front now.
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
    }
    if (IsWindowVisible(window))
        impl_->life.Shown(*this);
}

void Form::Hide() {
    if (impl_->window)
        ShowWindow(impl_->window, SW_HIDE);
}

void Form::Close() {
    // The owner takes input again before anything else, the end of the process included.
    if (impl_->owner && IsWindow(impl_->owner))
        EnableWindow(impl_->owner, TRUE);
    impl_->life.Close(*this);
}

bool Form::Visible() const {
    return impl_->window && IsWindowVisible(impl_->window);
}
bool Form::Loaded() const {
    return impl_->life.Loaded();
}

namespace {

RECT Outer(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    return outer;
}

} // namespace

double Form::Left() const {
    return win32::ToTwips(impl_->window, Outer(impl_->window).left);
}
double Form::Top() const {
    return win32::ToTwips(impl_->window, Outer(impl_->window).top);
}
double Form::Width() const {
    const RECT outer = Outer(impl_->window);
    return win32::ToTwips(impl_->window, outer.right - outer.left);
}
double Form::Height() const {
    const RECT outer = Outer(impl_->window);
    return win32::ToTwips(impl_->window, outer.bottom - outer.top);
}
double Form::ScaleWidth() const {
    return win32::ToTwips(impl_->window, ClientSize(impl_->window).cx);
}
double Form::ScaleHeight() const {
    return win32::ToTwips(impl_->window, ClientSize(impl_->window).cy);
}

void Form::Move(double left, double top) {
    SetWindowPos(impl_->window, nullptr, win32::ToDevice(impl_->window, left),
                 win32::ToDevice(impl_->window, top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::uintptr_t Form::Handle() const {
    return reinterpret_cast<std::uintptr_t>(impl_->window);
}

} // namespace ui
