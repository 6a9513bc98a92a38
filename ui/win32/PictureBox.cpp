#include "ui/Dispatch.h"
#include "ui/Units.h"
#include "ui/win32/Bitmaps.h"
#include "ui/win32/LastError.h"

#include <algorithm>
#include <cmath>
#include <windowsx.h>

namespace ui {

namespace {

using win32::MemoryDc;
using win32::Painting;
using win32::Selection;

PictureBox* BoxOf(HWND window) {
    return reinterpret_cast<PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int Round(double pixels) {
    return static_cast<int>(std::lround(pixels));
}

// At device resolution, the pen as many times wider (one device pixel at the least).
int PenPixels(int logicalWidth, double scale) {
    return std::max(1, Round(logicalWidth * scale));
}

void DrawLine(HDC target, const LineDrawing::Line& line, double scale) {
    const LOGBRUSH solid{BS_SOLID, win32::ToColorRef(line.color), 0};
    win32::GdiObject<HPEN> pen(
        ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                     static_cast<DWORD>(PenPixels(line.width, scale)), &solid, 0, nullptr));
    Selection selected(target, pen.Get());
    MoveToEx(target, Round(line.from.x * scale), Round(line.from.y * scale), nullptr);
    LineTo(target, Round(line.to.x * scale), Round(line.to.y * scale));
}

// Back colour, picture and lines, drawn off screen and copied in one piece so nothing flickers.
void Paint(HWND window, const PictureBox::Impl& impl) {
    Painting painting(window);
    const RECT& area = painting.Area();
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    MemoryDc buffer(painting.Dc());
    win32::GdiObject<HBITMAP> pixels(CreateCompatibleBitmap(painting.Dc(), width, height));
    Selection target(buffer.Get(), pixels.Get());
    SetViewportOrgEx(buffer.Get(), -area.left, -area.top, nullptr);

    win32::GdiObject<HBRUSH> back(CreateSolidBrush(win32::ToColorRef(impl.back)));
    FillRect(buffer.Get(), &area, back.Get());
    const double scale = win32::ScaleOf(win32::Dpi(window));
    if (const Picture::Data* picture = impl.picture.Get())
        win32::DrawPicture(buffer.Get(), *picture, 0, 0,
                           static_cast<int>(LogicalToDevice(picture->width, scale)),
                           static_cast<int>(LogicalToDevice(picture->height, scale)));
    for (const auto& line : impl.drawing.Lines())
        DrawLine(buffer.Get(), line, scale);

    BitBlt(painting.Dc(), area.left, area.top, width, height, buffer.Get(), area.left, area.top,
           SRCCOPY);
}

// Mouse input the box has no handler for goes to its parent, in the parent's coordinates.
LRESULT ToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND parent = GetParent(window);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(window, parent, &at, 1);
    return SendMessageW(parent, message, wParam, MAKELPARAM(at.x, at.y));
}

void KeyDown(HWND window, PictureBox& box) {
    Form* form = box.Native().form;
    // The character this key types is already queued behind it: the box sees it first.
    MSG typed;
    if (PeekMessageW(&typed, window, WM_CHAR, WM_CHAR, PM_REMOVE))
        Dispatch(box.OnKeyPress);
    if (IsWindow(window)) // unless the box's handler closed it and its form
        Dispatch(form->OnKeyDown);
}

LRESULT CALLBACK BoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    PictureBox* box = BoxOf(window);
    if (!box)
        return DefWindowProcW(window, message, wParam, lParam);
    PictureBox::Impl& impl = box->Native();

    switch (message) {
    case WM_NCDESTROY:
        impl.window = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT:
        Paint(window, impl);
        return 0;
    case WM_MOUSEMOVE:
        if (!box->OnMouseMove)
            return ToParent(window, message, wParam, lParam);
        Dispatch(box->OnMouseMove, win32::PointerTwips(window, GET_X_LPARAM(lParam)),
                 win32::PointerTwips(window, GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
        if (box->OnClick || box->OnKeyPress)
            SetFocus(window);
        if (!box->OnClick)
            return ToParent(window, message, wParam, lParam);
        impl.pressed = true;
        SetCapture(window);
        Dispatch(impl.form->OnMouseDown);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        return ToParent(window, message, wParam, lParam);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // Sent to the focus, with the pointer's place on the screen: the form sees it as is.
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_LBUTTONUP:
        if (!impl.pressed)
            return box->OnClick ? 0 : ToParent(window, message, wParam, lParam);
        impl.pressed = false;
        ReleaseCapture();
        {
            RECT client{};
            GetClientRect(window, &client);
            if (PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                Dispatch(box->OnClick);
        }
        return 0;
    case WM_CAPTURECHANGED:
        impl.pressed = false;
        return 0;
    case WM_KEYDOWN:
        KeyDown(window, *box);
        return 0;
    case WM_SYSKEYDOWN:
        KeyDown(window, *box);
        break; // the system's own keys (Alt+F4) still work
    case WM_CHAR:
        Dispatch(box->OnKeyPress);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* BoxClass() {
    static const win32::WindowClass registered([] {
        WNDCLASSEXW classInfo{};
        classInfo.lpfnWndProc = BoxProcedure;
        classInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        classInfo.lpszClassName = win32::PictureBoxClassName;
        return classInfo;
    }());
    return registered.Name();
}

void Create(PictureBox& box, HWND parent, Form* form, double left, double top, double width,
            double height) {
    PictureBox::Impl& impl = box.Native();
    impl.form = form;
    impl.left = left;
    impl.top = top;
    impl.width = width;
    impl.height = height;
    const auto device = [parent](double twips) { return win32::ToDevice(parent, twips); };
    impl.window = CreateWindowExW(0, BoxClass(), L"",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  device(left), device(top), device(width), device(height), parent,
                                  nullptr, GetModuleHandleW(nullptr), &box);
    if (!impl.window)
        win32::FailLastError();
    // Above the boxes made before it, as a later control is.
    SetWindowPos(impl.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

RECT InParent(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

} // namespace

PictureBox::PictureBox(Form& parent, double left, double top, double width, double height)
    : impl_(std::make_unique<Impl>()) {
    Create(*this, parent.Native().window, &parent, left, top, width, height);
}

PictureBox::PictureBox(PictureBox& parent, double left, double top, double width, double height)
    : impl_(std::make_unique<Impl>()) {
    Create(*this, parent.Native().window, parent.Native().form, left, top, width, height);
}

PictureBox::~PictureBox() {
    if (impl_->window) {
        SetWindowLongPtrW(impl_->window, GWLP_USERDATA, 0);
        DestroyWindow(impl_->window);
    }
}

void PictureBox::SetBackColor(Color color) {
    impl_->back = color;
    InvalidateRect(impl_->window, nullptr, FALSE);
}

void PictureBox::SetAutoSize(bool autoSize) {
    impl_->autoSize = autoSize;
}

void PictureBox::SetPicture(const Picture& picture) {
    impl_->picture = picture;
    if (impl_->autoSize) {
        impl_->width = PixelsToTwips(picture.WidthPixels());
        impl_->height = PixelsToTwips(picture.HeightPixels());
        SetWindowPos(impl_->window, nullptr, 0, 0, win32::ToDevice(impl_->window, impl_->width),
                     win32::ToDevice(impl_->window, impl_->height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(impl_->window, nullptr, FALSE);
}

void PictureBox::SetVisible(bool visible) {
    ShowWindow(impl_->window, visible ? SW_SHOWNA : SW_HIDE);
}

bool PictureBox::Visible() const {
    return impl_->window && IsWindowVisible(impl_->window);
}

double PictureBox::Left() const {
    return win32::ToTwips(impl_->window, InParent(impl_->window).left);
}
double PictureBox::Top() const {
    return win32::ToTwips(impl_->window, InParent(impl_->window).top);
}
double PictureBox::Width() const {
    const RECT place = InParent(impl_->window);
    return win32::ToTwips(impl_->window, place.right - place.left);
}
double PictureBox::Height() const {
    const RECT place = InParent(impl_->window);
    return win32::ToTwips(impl_->window, place.bottom - place.top);
}

void PictureBox::Move(double left, double top) {
    impl_->left = left;
    impl_->top = top;
    // The system copies the box's pixels to the new place; nothing of it repaints.
    SetWindowPos(impl_->window, nullptr, win32::ToDevice(impl_->window, left),
                 win32::ToDevice(impl_->window, top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureBox::SetScale(double x1, double y1, double x2, double y2) {
    impl_->drawing.SetScale(x1, y1, x2, y2);
}

void PictureBox::SetPenWidth(int pixels) {
    impl_->drawing.SetPenWidth(pixels);
}
int PictureBox::PenWidth() const {
    return impl_->drawing.PenWidth();
}

void PictureBox::Clear() {
    impl_->drawing.Clear();
    InvalidateRect(impl_->window, nullptr, FALSE);
}

void PictureBox::DrawLine(double x1, double y1, double x2, double y2, Color color) {
    const LineDrawing::Line& line =
        impl_->drawing.Add(x1, y1, x2, y2, color, static_cast<double>(TwipsToPixels(impl_->width)),
                           static_cast<double>(TwipsToPixels(impl_->height)));
    // Only the line's own rectangle, in device pixels.
    const LineDrawing::Area around =
        LineDrawing::Around(line, win32::ScaleOf(win32::Dpi(impl_->window)));
    const RECT area{around.left, around.top, around.right, around.bottom};
    InvalidateRect(impl_->window, &area, FALSE);
}

std::uintptr_t PictureBox::Handle() const {
    return reinterpret_cast<std::uintptr_t>(impl_->window);
}

} // namespace ui
