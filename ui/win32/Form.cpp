#include "ui/Dispatch.h"
#include "ui/FormList.h"
#include "ui/Services.h"
#include "ui/Units.h"
#include "ui/Wakeup.h"
#include "ui/win32/Native.h"
#include "ui/win32/Resources.h"
#include "ui/win32/SystemLibrary.h"
#include "ui/win32/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <windowsx.h>

namespace ui {

namespace {

// Children paint themselves; the form's background never paints over them.
constexpr DWORD SizableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD PopupStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD ToolStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// What a border change keeps of the old styles.
constexpr DWORD KeptStyle = WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE | WS_DISABLED;

// GUID_CONSOLE_DISPLAY_STATE: the console's display off (0), on (1) or dimmed (2), from
// Windows 8; and GUID_MONITOR_POWER_ON: the monitors off (0) or on (1), which Windows 7 and
// Vista send instead. Both are asked for; where both come, they agree.
constexpr GUID ConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID MonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr const GUID* DisplayPowerSettings[] = {&ConsoleDisplayState, &MonitorPowerOn};

Form* FormOf(HWND window) {
    return reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// Sizes the outer frame so that the inner area is the given size, in pixels. The frame is the
// one the system draws at the window's own DPI (Windows 10 1607 and later): at the system's, a
// dialog on a monitor of another scale came out a few pixels short or tall.
void SetClientPixels(HWND window, SIZE size, UINT flags = 0) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi =
        win32::SystemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT outer{0, 0, size.cx, size.cy};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&outer, style, FALSE, exStyle, win32::DpiOfMonitor(window)))
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

// The control that takes the focus when the form is activated: the first in the tab order,
// which is the order the controls were made in (each new one goes below the others).
HWND FirstTabStop(HWND window) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // Its own visibility: the form itself may still be hidden when it is activated.
        const auto style = GetWindowLongPtrW(child, GWL_STYLE);
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED))
            return child;
    }
    return nullptr;
}

// The desktop over all monitors.
RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The form's lines, over the background its erase filled in.
void PaintLines(HWND window, const Form::Impl& impl) {
    win32::Painting painting(window);
    const double scale = win32::ScaleOf(impl.dpi);
    for (const Line* line : impl.lines) {
        const int width = static_cast<int>(std::max(1L, LogicalToDevice(line->WidthPixels, scale)));
        win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, width, win32::ToColorRef(line->LineColor)));
        win32::Selection selected(painting.Dc(), pen.Get());
        MoveToEx(painting.Dc(), win32::ToDevice(window, line->X1),
                 win32::ToDevice(window, line->Y1), nullptr);
        LineTo(painting.Dc(), win32::ToDevice(window, line->X2), win32::ToDevice(window, line->Y2));
    }
}

// The form is told a new scale: its controls and fonts are laid out again for it.
void TakeDpi(HWND window, Form::Impl& impl, UINT dpi) {
    const UINT old = std::exchange(impl.dpi, dpi);
    win32::LayOutAgain(window, old, dpi);
}

// Moved to a monitor of another scale: the system suggests the new outer rectangle; the inner
// area the program gave is kept exactly, in logical pixels.
void DpiChanged(HWND window, Form::Impl& impl, UINT dpi, const RECT& suggested) {
    TakeDpi(window, impl, dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (impl.clientWidth > 0 && !IsZoomed(window))
        SetClientPixels(window, {win32::ToDevice(window, impl.clientWidth),
                                 win32::ToDevice(window, impl.clientHeight)});
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace

namespace win32 {

void ScaleFollowsHost(HWND window) {
    Form* form = FormOf(window);
    if (!form || !(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
        return;
    Form::Impl& impl = form->Native();
    const UINT dpi = DpiOfMonitor(window);
    if (dpi == impl.dpi)
        return;
    TakeDpi(window, impl, dpi);
    InvalidateRect(window, nullptr, TRUE);
}

} // namespace win32

namespace {

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Form* form = FormOf(window);
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
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, impl.brush.Get());
        return 1;
    }
    case WM_PAINT:
        PaintLines(window, impl);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = win32::ControlColors(reinterpret_cast<HWND>(lParam),
                                                reinterpret_cast<HDC>(wParam), impl.brush.Get()))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_DRAWITEM:
        win32::DrawControl(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), impl.brush.Get());
        return TRUE;
    case WM_COMMAND:
        if (lParam && HIWORD(wParam) == BN_CLICKED) {
            Guarded([lParam] { win32::ControlPressed(reinterpret_cast<HWND>(lParam)); });
            return 0;
        }
        // Enter in the dialog's keys: the focused button is pressed, as a default button is.
        if (!lParam && LOWORD(wParam) == IDOK) {
            const HWND focus = GetFocus();
            if (focus && IsChild(window, focus) &&
                (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
                Guarded([focus] { win32::ControlPressed(focus); });
            return 0;
        }
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            return 0;
        impl.life.Resized(*form, IsWindowVisible(window) != FALSE);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        // Shown by SetWindowPos rather than Show (the preview in its pane): the size it took
        // while hidden is reported now.
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((place->flags & SWP_SHOWWINDOW) && IsWindowVisible(window))
            impl.life.Shown(*form);
        return result;
    }
    case WM_GETMINMAXINFO:
        // A borderless form maximises over the whole desktop, task bar and every monitor
        // included, or over its own monitor.
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION)) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            const RECT desktop = impl.monitor ? *impl.monitor : VirtualScreen();
            limits->ptMaxPosition = {desktop.left, desktop.top};
            limits->ptMaxSize = {desktop.right - desktop.left, desktop.bottom - desktop.top};
            limits->ptMaxTrackSize = limits->ptMaxSize;
            return 0;
        }
        break;
    case WM_DPICHANGED:
        // A form given its monitor takes that monitor's scale and place. Laying out again makes
        // fonts, which can fail like any handler's work: never out into the system.
        if (!impl.monitor)
            Guarded([&] {
                DpiChanged(window, impl, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            });
        Guarded([] { win32::MonitorsChanged(); });
        return 0;
    case WM_DPICHANGED_AFTERPARENT: // a form living in a window that changed scale
        Guarded([&] { win32::ScaleFollowsHost(window); });
        return 0;
    case WM_DISPLAYCHANGE:
        Guarded([] { win32::MonitorsChanged(); });
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE) {
            const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
            if ((IsEqualGUID(setting->PowerSetting, ConsoleDisplayState) ||
                 IsEqualGUID(setting->PowerSetting, MonitorPowerOn)) &&
                setting->DataLength >= sizeof(DWORD)) {
                DWORD state = 0; // 0 off, 1 on, 2 dimmed
                std::memcpy(&state, setting->Data, sizeof state);
                Guarded([state] { DisplayAsleep(state == 0); });
            }
            return TRUE;
        }
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
    case WM_SETFOCUS:
        // A form living in another program's window hands the focus back to where it came
        // from: the pane's owner restarts its preview when a child takes it.
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) && wParam &&
            IsWindow(reinterpret_cast<HWND>(wParam)))
            SetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MOUSEACTIVATE:
        // A form living in another program's window (the preview) never takes the focus.
        if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
            return MA_NOACTIVATE;
        break;
    case WM_ACTIVATEAPP:
        // Another program took the activation: the running saver gives the screen back, as
        // the system's own savers do. A hidden saver (showing a report) stays.
        if (!wParam && impl.runningScreenSaver && IsWindowVisible(window))
            Guarded([] { EndProgram(); });
        break;
    case WM_ACTIVATE:
        if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
            break; // a form in another program's window leaves the focus where it is
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            impl.focus = focus && IsChild(window, focus) ? focus : nullptr;
        } else if (!HIWORD(wParam)) {
            HWND target =
                impl.focus && IsChild(window, impl.focus) ? impl.focus : FirstTabStop(window);
            SetFocus(target ? target : window);
        }
        return 0;
    case WM_SETCURSOR:
        if (impl.pointerInvisible && LOWORD(lParam) == HTCLIENT) {
            SetCursor(impl.pointer);
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        Dispatch(form->OnMouseMove, win32::PointerTwips(window, GET_X_LPARAM(lParam)),
                 win32::PointerTwips(window, GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
        impl.pressed = true;
        SetCapture(window);
        Dispatch(form->OnMouseDown);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        Dispatch(form->OnMouseDown);
        return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        Dispatch(form->OnMouseWheel);
        return 0;
    case WM_LBUTTONUP:
        if (impl.pressed) {
            impl.pressed = false;
            ReleaseCapture();
            RECT client{};
            GetClientRect(window, &client);
            if (PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                Dispatch(form->OnClick);
        }
        return 0;
    case WM_CAPTURECHANGED:
        impl.pressed = false;
        return 0;
    case WM_KEYDOWN:
        Dispatch(form->OnKeyDown);
        return 0;
    case WM_SYSKEYDOWN:
        Dispatch(form->OnKeyDown);
        break; // the system's own keys (Alt+F4) still work
    case WM_SYSCOMMAND:
        // A saver already runs; another start would cover it. Monitor power passes through.
        if (impl.runningScreenSaver && (wParam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        break;
    }
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

bool win32::DialogKey(MSG& message) {
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    const Form* form = root ? FormOf(root) : nullptr;
    return form && !form->OnKeyDown && IsDialogMessageW(root, &message);
}

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
    for (HPOWERNOTIFY notice : impl_->displayNotices)
        if (notice)
            UnregisterPowerSettingNotification(notice);
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
    if (running && !impl_->displayNotices[0])
        for (std::size_t i = 0; i < std::size(DisplayPowerSettings); ++i)
            impl_->displayNotices[i] = RegisterPowerSettingNotification(
                impl_->window, DisplayPowerSettings[i], DEVICE_NOTIFY_WINDOW_HANDLE);
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
