#include "ui/Dispatch.h"
#include "ui/Services.h"
#include "ui/win32/Controls.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/FormWindow.h"

#include <windowsx.h>

namespace ui::win32 {

namespace form {

namespace {

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

} // namespace

Answer Input(HWND window, Form& form, UINT message, WPARAM wParam, LPARAM lParam) {
    Form::Impl& impl = form.Native();
    switch (message) {
    case WM_COMMAND:
        if (lParam && HIWORD(wParam) == BN_CLICKED) {
            Guarded([lParam] { ControlPressed(reinterpret_cast<HWND>(lParam)); });
            return 0;
        }
        // Enter in the dialog's keys: the focused button is pressed, as a default button is.
        if (!lParam && LOWORD(wParam) == IDOK) {
            const HWND focus = GetFocus();
            if (focus && IsChild(window, focus) &&
                (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
                Guarded([focus] { ControlPressed(focus); });
            return 0;
        }
        // Escape in the dialog's keys.
        if (!lParam && LOWORD(wParam) == IDCANCEL) {
            if (const HWND cancel = impl.cancel; cancel && IsWindowEnabled(cancel))
                Guarded([cancel] { ControlPressed(cancel); });
            return 0;
        }
        break;
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
        Dispatch(form.OnMouseMove, PointerTwips(window, GET_X_LPARAM(lParam)),
                 PointerTwips(window, GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
        impl.pressed = true;
        SetCapture(window);
        Dispatch(form.OnMouseDown);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        Dispatch(form.OnMouseDown);
        return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        Dispatch(form.OnMouseWheel);
        return 0;
    case WM_LBUTTONUP:
        if (impl.pressed) {
            impl.pressed = false;
            ReleaseCapture();
            RECT client{};
            GetClientRect(window, &client);
            if (PtInRect(&client, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                Dispatch(form.OnClick);
        }
        return 0;
    case WM_CAPTURECHANGED:
        impl.pressed = false;
        return 0;
    case WM_KEYDOWN:
        Dispatch(form.OnKeyDown);
        return 0;
    case WM_SYSKEYDOWN:
        Dispatch(form.OnKeyDown);
        break; // the system's own keys (Alt+F4) still work
    }
    return std::nullopt;
}

} // namespace form

bool DialogKey(MSG& message) {

    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    const Form* form = root ? form::FormOf(root) : nullptr;
    return form && !form->OnKeyDown && IsDialogMessageW(root, &message);
}

} // namespace ui::win32
