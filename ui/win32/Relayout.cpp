// A form moved to a monitor of another scale lays its children out again from the twips the
// program gave them, so nothing drifts however often it moves.

#include "ui/win32/Relayout.h"

#include "ui/win32/Controls.h"

#include <vector>

namespace ui::win32 {

namespace {

struct Change {
    UINT from, to;
};

// The window's region (the system's, in the window's device pixels) at the new scale.
void ScaleRegion(HWND window, const Change& change) {
    GdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
    if (!current.Get() || GetWindowRgn(window, current.Get()) == ERROR)
        return;
    const DWORD size = GetRegionData(current.Get(), 0, nullptr);
    std::vector<char> data(size);
    if (!size || !GetRegionData(current.Get(), size, reinterpret_cast<RGNDATA*>(data.data())))
        return;
    const auto ratio = static_cast<FLOAT>(static_cast<double>(change.to) / change.from);
    const XFORM stretch{ratio, 0, 0, ratio, 0, 0};
    if (HRGN scaled =
            ExtCreateRegion(&stretch, size, reinterpret_cast<const RGNDATA*>(data.data())))
        SetWindowRgn(window, scaled, TRUE); // the system's from here on
}

void Place(HWND window, double left, double top, double width, double height) {
    SetWindowPos(window, nullptr, ToDevice(window, left), ToDevice(window, top),
                 ToDevice(window, width), ToDevice(window, height), SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK LayOut(HWND child, LPARAM argument) {
    const auto& change = *reinterpret_cast<const Change*>(argument);
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    const LONG_PTR data = GetWindowLongPtrW(child, GWLP_USERDATA);
    if (lstrcmpW(name, PictureBoxClassName) == 0) {
        if (const auto* box = reinterpret_cast<const PictureBox*>(data)) {
            const PictureBox::Impl& impl = box->Native();
            Place(child, impl.left, impl.top, impl.width, impl.height);
        }
    } else if (auto* control = reinterpret_cast<Control::Impl*>(data);
               control && control->window == child) {
        Place(child, control->left, control->top, control->width, control->height);
        RemakeFont(*control);
        if (control->scaleChanged && control->scaleChanged()) {
            InvalidateRect(child, nullptr, TRUE);
            return TRUE;
        }
    }
    ScaleRegion(child, change);
    InvalidateRect(child, nullptr, TRUE);
    return TRUE;
}

} // namespace

void LayOutAgain(HWND form, UINT from, UINT to) {
    if (from == to || !from)
        return;
    Change change{from, to};
    EnumChildWindows(form, LayOut, reinterpret_cast<LPARAM>(&change));
}

} // namespace ui::win32
