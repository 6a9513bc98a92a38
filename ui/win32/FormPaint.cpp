#include "ui/Units.h"
#include "ui/win32/Controls.h"
#include "ui/win32/FormWindow.h"

#include <algorithm>

namespace ui::win32::form {

namespace {

// The form's lines, over the background its erase filled in.
void PaintLines(HWND window, const Form::Impl& impl) {
    Painting painting(window);
    const double scale = ScaleOf(impl.dpi);
    for (const Line* line : impl.lines) {
        const int width = static_cast<int>(std::max(1L, LogicalToDevice(line->WidthPixels, scale)));
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, width, ToColorRef(line->LineColor)));
        Selection selected(painting.Dc(), pen.Get());
        MoveToEx(painting.Dc(), ToDevice(window, line->X1), ToDevice(window, line->Y1), nullptr);
        LineTo(painting.Dc(), ToDevice(window, line->X2), ToDevice(window, line->Y2));
    }
}

} // namespace

Answer Paint(HWND window, Form& form, UINT message, WPARAM wParam, LPARAM lParam) {
    Form::Impl& impl = form.Native();
    switch (message) {
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
        if (HBRUSH brush = ControlColors(reinterpret_cast<HWND>(lParam),
                                         reinterpret_cast<HDC>(wParam), impl.brush.Get()))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_DRAWITEM:
        DrawControl(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), impl.brush.Get());
        return TRUE;
    }
    return std::nullopt;
}

} // namespace ui::win32::form
