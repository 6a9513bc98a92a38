#pragma once
// The form's window procedure, split by concern: Form.cpp keeps the form's life and hands every
// other message to the part that answers it (FormInput, FormPaint, FormScale, DisplayPower).

#include "ui/win32/Impl.h"

#include <optional>
#include <windows.h>

namespace ui::win32::form {

// The message's result when the part answered it; nothing when the system's default is to run.
using Answer = std::optional<LRESULT>;

Form* FormOf(HWND window);
SIZE ClientSize(HWND window);
// Sizes the outer frame so that the inner area is the given size, in pixels.
void SetClientPixels(HWND window, SIZE size, UINT flags = 0);
// The desktop over all monitors.
RECT VirtualScreen();
// The form is told a new scale: its controls and fonts are laid out again for it.
void TakeDpi(HWND window, Form::Impl& impl, UINT dpi);

// Keys, buttons, the wheel, the pointer, a control's press, the focus and the activation.
Answer Input(HWND window, Form& form, UINT message, WPARAM wParam, LPARAM lParam);
// The background, the form's lines, and its controls' colours and faces.
Answer Paint(HWND window, Form& form, UINT message, WPARAM wParam, LPARAM lParam);
// Size, place, DPI and the monitors.
Answer Scale(HWND window, Form& form, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace ui::win32::form
