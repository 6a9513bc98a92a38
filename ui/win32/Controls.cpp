#include "ui/Controls.h"

#include "ui/Dispatch.h"
#include "ui/Units.h"
#include "ui/win32/AccessibleText.h"
#include "ui/win32/Bitmaps.h"
#include "ui/win32/Controls.h"
#include "ui/win32/LastError.h"
#include "ui/win32/SystemCalls.h"
#include "ui/win32/Text.h"

#include <algorithm>
#include <commctrl.h>
#include <uxtheme.h>

namespace ui {

namespace {

Control::Impl* ImplOf(HWND control) {
    return reinterpret_cast<Control::Impl*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

HFONT MakeFont(const Font& font, UINT dpi) {
    const int height = -static_cast<int>(std::lround(font.Points * dpi / 72));
    return CreateFontW(height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, win32::Wide(font.Name).c_str());
}

void ApplyFont(Control::Impl& impl, const Font& font) {
    win32::GdiObject<HFONT> made(MakeFont(font, win32::Dpi(impl.window)));
    if (!made.Get())
        win32::FailLastError();
    SendMessageW(impl.window, WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), TRUE);
    impl.font = std::move(made); // the old font, no longer the control's, goes
    impl.fontSpec = font;
}

// Every control ends an option group: only the option buttons made one after the other share
// one, and the arrow keys move within it.
std::unique_ptr<Control::Impl> Make(Form& form, const wchar_t* windowClass, DWORD style,
                                    DWORD exStyle, double left, double top, double width,
                                    double height, const std::string& text = {}) {
    auto impl = std::make_unique<Control::Impl>();
    impl->form = &form;
    impl->left = left;
    impl->top = top;
    impl->width = width;
    impl->height = height;
    const HWND parent = form.Native().window;
    const auto device = [parent](double twips) { return win32::ToDevice(parent, twips); };
    impl->window =
        CreateWindowExW(exStyle, windowClass, win32::Wide(text).c_str(),
                        WS_CHILD | WS_VISIBLE | style, device(left), device(top), device(width),
                        device(height), parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!impl->window)
        win32::FailLastError();
    SetWindowLongPtrW(impl->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl.get()));
    ApplyFont(*impl, Font{});
    return impl;
}

RECT InParent(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return win32::Utf8(text);
}

// Themed buttons draw their text in the theme's colour; these take the form's colours.
void Unthemed(HWND window) {
    win32::sys::SetWindowTheme(window, L"", L"");
}

} // namespace

namespace win32 {

// The form's answer to WM_CTLCOLOR*: the control's text colour and background.
HBRUSH ControlColors(HWND control, HDC dc, HBRUSH formBrush) {
    const Control::Impl* impl = ImplOf(control);
    if (!impl)
        return nullptr;
    SetTextColor(dc, impl->fore);
    if (impl->back.Get() && !impl->transparent) {
        SetBkColor(dc, impl->backColor);
        return impl->back.Get();
    }
    // Transparent, or the default: the form's own colour shows around the text.
    SetBkMode(dc, TRANSPARENT);
    return formBrush;
}

namespace {

BOOL CALLBACK RepaintIfTransparent(HWND child, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    // Only the system's controls carry a Control::Impl; a picture box carries its own.
    if (lstrcmpiW(name, L"Static") == 0)
        if (const Control::Impl* impl = ImplOf(child); impl && impl->transparent)
            InvalidateRect(child, nullptr, TRUE);
    return TRUE;
}

} // namespace

void RemakeFont(Control::Impl& control) {
    ApplyFont(control, control.fontSpec);
}

void RepaintTransparentControls(HWND form) {
    EnumChildWindows(form, RepaintIfTransparent, 0);
}

bool ControlPressed(HWND control) {
    const Control::Impl* impl = ImplOf(control);
    if (!impl || !impl->pressed)
        return false;
    const auto pressed = impl->pressed; // the handler may destroy the control
    pressed();
    return true;
}

// A picture button: the form's background, the picture centred on it, and the focus inside.
void DrawControl(const DRAWITEMSTRUCT& item, HBRUSH formBrush) {
    const Control::Impl* impl = ImplOf(item.hwndItem);
    if (!impl || !impl->ownerDrawn)
        return;
    FillRect(item.hDC, &item.rcItem, formBrush);
    const double scale = ScaleOf(Dpi(item.hwndItem));
    const auto device = [scale](int logical) {
        return static_cast<int>(LogicalToDevice(logical, scale));
    };
    if (const Picture::Data* picture = impl->picture.Get()) {
        const int shift = (item.itemState & ODS_SELECTED) ? device(1) : 0;
        const int width = item.rcItem.right - item.rcItem.left;
        const int height = item.rcItem.bottom - item.rcItem.top;
        const int pictureWidth = device(picture->width), pictureHeight = device(picture->height);
        DrawPicture(item.hDC, *picture, (width - pictureWidth) / 2 + shift,
                    (height - pictureHeight) / 2 + shift, pictureWidth, pictureHeight);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -device(5), -device(6));
        DrawFocusRect(item.hDC, &focus);
    }
}

} // namespace win32

Control::Control(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Control::~Control() {
    if (impl_->toolTip)
        DestroyWindow(impl_->toolTip);
    if (impl_->window && IsWindow(impl_->window)) {
        SetWindowLongPtrW(impl_->window, GWLP_USERDATA, 0);
        DestroyWindow(impl_->window);
    }
}

void Control::SetVisible(bool visible) {
    ShowWindow(impl_->window, visible ? SW_SHOWNA : SW_HIDE);
}
bool Control::Visible() const {
    return (GetWindowLongPtrW(impl_->window, GWL_STYLE) & WS_VISIBLE) != 0;
}
double Control::Left() const {
    return win32::ToTwips(impl_->window, InParent(impl_->window).left);
}
double Control::Top() const {
    return win32::ToTwips(impl_->window, InParent(impl_->window).top);
}
double Control::Width() const {
    const RECT place = InParent(impl_->window);
    return win32::ToTwips(impl_->window, place.right - place.left);
}
double Control::Height() const {
    const RECT place = InParent(impl_->window);
    return win32::ToTwips(impl_->window, place.bottom - place.top);
}
void Control::SetWidth(double width) {
    impl_->width = width;
    const RECT place = InParent(impl_->window);
    SetWindowPos(impl_->window, nullptr, 0, 0, win32::ToDevice(impl_->window, width),
                 place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void Control::Move(double left, double top) {
    impl_->left = left;
    impl_->top = top;
    SetWindowPos(impl_->window, nullptr, win32::ToDevice(impl_->window, left),
                 win32::ToDevice(impl_->window, top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetFont(const Font& font) {
    ApplyFont(*impl_, font);
}

void Control::SetForeColor(Color color) {
    impl_->fore = win32::ToColorRef(color);
    InvalidateRect(impl_->window, nullptr, TRUE);
}
Color Control::ForeColor() const {
    return Rgb(GetRValue(impl_->fore), GetGValue(impl_->fore), GetBValue(impl_->fore));
}

void Control::SetBackColor(Color color) {
    win32::GdiObject<HBRUSH> brush(CreateSolidBrush(win32::ToColorRef(color)));
    if (!brush.Get())
        win32::FailLastError();
    impl_->back = std::move(brush);
    impl_->backColor = win32::ToColorRef(color);
    impl_->transparent = false;
    InvalidateRect(impl_->window, nullptr, TRUE);
}

void Control::SetTransparent() {
    impl_->transparent = true;
    InvalidateRect(impl_->window, nullptr, TRUE);
}

void Control::SetFocus() {
    ::SetFocus(impl_->window);
}
bool Control::HasFocus() const {
    return GetFocus() == impl_->window;
}

std::uintptr_t Control::Handle() const {
    return reinterpret_cast<std::uintptr_t>(impl_->window);
}

Label::Label(Form& form, double left, double top, double width, double height,
             const std::string& caption, Alignment alignment)
    : Control(Make(form, L"STATIC",
                   WS_GROUP | SS_NOPREFIX | (alignment == Alignment::Center ? SS_CENTER : SS_LEFT),
                   0, left, top, width, height, caption)) {}

void Label::SetCaption(const std::string& caption) {
    SetWindowTextW(Native().window, win32::Wide(caption).c_str());
}
std::string Label::Caption() const {
    return TextOf(Native().window);
}

// Screen readers name a field that has no text of its own by the label just before it.
void Label::Names(const Control& field) {
    const HWND label = Native().window, box = field.Native().window;
    const HWND before = GetWindow(box, GW_HWNDPREV);
    if (before == label)
        return;
    SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TextBox::TextBox(Form& form, double left, double top, double width, double height)
    : Control(Make(form, L"EDIT", WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, left,
                   top, width, height)) {}

void TextBox::SetText(const std::string& text) {
    SetWindowTextW(Native().window, win32::Wide(text).c_str());
}
std::string TextBox::Text() const {
    return TextOf(Native().window);
}

namespace {

// The first option button made on a form after any other control starts the group.
DWORD OptionGroupStyle(Form& form) {
    HWND last = GetWindow(form.Native().window, GW_CHILD);
    last = last ? GetWindow(last, GW_HWNDLAST) : nullptr;
    wchar_t name[16] = {};
    const bool follows = last && GetClassNameW(last, name, 16) &&
                         (GetWindowLongPtrW(last, GWL_STYLE) & 0xF) == BS_AUTORADIOBUTTON &&
                         lstrcmpiW(name, L"BUTTON") == 0;
    return follows ? 0 : WS_GROUP | WS_TABSTOP;
}

} // namespace

OptionButton::OptionButton(Form& form, double left, double top, double width, double height,
                           const std::string& caption)
    : Control(Make(form, L"BUTTON", BS_AUTORADIOBUTTON | OptionGroupStyle(form), 0, left, top,
                   width, height, caption)) {
    Unthemed(Native().window);
    Native().pressed = [this] { Dispatch(OnClick); };
}

void OptionButton::SetGroup(const std::string& name, int position, int count) {
    // The system tells a group's radio buttons apart by their WS_GROUP; the words are the
    // reader's to say.
    win32::SetAccessibleDescription(Native().window, name + ", " + std::to_string(position) +
                                                         " of " + std::to_string(count));
}

bool OptionButton::Value() const {
    return SendMessageW(Native().window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetValue(bool selected) {
    if (!selected) {
        SendMessageW(Native().window, BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    // As a click would: the others of the group are cleared, and this one takes the tab stop.
    HWND first = Native().window;
    while (!(GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP))
        first = GetWindow(first, GW_HWNDPREV);
    for (HWND other = first; other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other != first && (GetWindowLongPtrW(other, GWL_STYLE) & WS_GROUP))
            break;
        SendMessageW(other, BM_SETCHECK, other == Native().window ? BST_CHECKED : BST_UNCHECKED, 0);
        auto style = GetWindowLongPtrW(other, GWL_STYLE);
        style = other == Native().window ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        SetWindowLongPtrW(other, GWL_STYLE, style);
    }
}

std::string OptionButton::Caption() const {
    return TextOf(Native().window);
}

PushButton::PushButton(Form& form, double left, double top, double width, double height,
                       const std::string& caption)
    : Control(Make(form, L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0, left, top, width,
                   height, caption)) {
    Native().pressed = [this] { Dispatch(OnClick); };
}

std::string PushButton::Caption() const {
    return TextOf(Native().window);
}

// The window text is the name screen readers say; owner drawing never shows it.
PictureButton::PictureButton(Form& form, double left, double top, double width, double height,
                             const Picture& picture, const std::string& name)
    : Control(Make(form, L"BUTTON", WS_GROUP | WS_TABSTOP | BS_OWNERDRAW, 0, left, top, width,
                   height, name)) {
    Native().picture = picture;
    Native().ownerDrawn = true;
    Native().pressed = [this] { Dispatch(OnClick); };
    Native().scaleChanged = [this] {
        if (!OnScaleChanged)
            return false;
        Dispatch(OnScaleChanged);
        return true;
    };
}

void PictureButton::SetCancel() {
    Native().form->Native().cancel = Native().window;
}

void PictureButton::SetToolTip(const std::string& text) {
    Impl& impl = Native();
    if (!impl.toolTip) {
        static const bool registered = [] {
            INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
            return win32::sys::InitCommonControlsEx(&classes) != FALSE;
        }();
        (void)registered;
        // Owned by no window: an owned topmost popup keeps its owner from being made topmost
        // (the About box is). It goes with the button.
        impl.toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    impl.toolTipText = text;
    std::wstring wide = win32::Wide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = impl.form->Native().window;
    tool.uId = reinterpret_cast<UINT_PTR>(impl.window);
    tool.lpszText = wide.data();
    SendMessageW(impl.toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(impl.toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string PictureButton::ToolTip() const {
    return Native().toolTipText;
}

Line::Line(Form& form, double x1, double y1, double x2, double y2, Color color, int widthPixels)
    : X1(x1), Y1(y1), X2(x2), Y2(y2), LineColor(color), WidthPixels(widthPixels), form_(form) {
    form_.Native().lines.push_back(this);
    InvalidateRect(form_.Native().window, nullptr, TRUE);
}

Line::~Line() {
    auto& lines = form_.Native().lines;
    lines.erase(std::remove(lines.begin(), lines.end(), this), lines.end());
}

} // namespace ui
