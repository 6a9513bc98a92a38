#pragma once
// The Win32 backend's private implementation of the layer's objects: the windows, bitmaps and
// state behind a picture, a form, a control and a picture box.

#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Form.h"
#include "ui/FormLife.h"
#include "ui/LineDrawing.h"
#include "ui/PictureBox.h"
#include "ui/Units.h"
#include "ui/win32/DisplayPower.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Handles.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace ui {

namespace win32 {

inline COLORREF ToColorRef(Color color) {
    return RGB(color.Red, color.Green, color.Blue);
}

// The classes of every form's window and every picture box's.
inline constexpr const wchar_t* FormClassName = L"MoondialForm";
inline constexpr const wchar_t* PictureBoxClassName = L"MoondialPicture";

} // namespace win32

struct Picture::Data {
    win32::GdiObject<HBITMAP> bitmap;      // a 32-bit top-down DIB section, alpha premultiplied
    const std::uint32_t* pixels = nullptr; // the section's rows
    int width = 0;
    int height = 0;
    bool opaque = true; // every pixel's alpha is full, so a plain copy draws it
    // The art's own drawings at 1.5x and 2x, where it has them.
    std::shared_ptr<const Data> larger[2];
    // The last size drawn at that no drawing has, made once.
    mutable std::shared_ptr<const Data> resized;

    // The drawing for a size of width x height device pixels: the one at that scale, else the
    // next larger, else the largest.
    const Data& For(int width, int height) const;
    // A larger drawing, or null where the art has none.
    const Data* Larger(ArtDrawing drawing) const {
        return drawing == ArtDrawing::Own ? this : larger[static_cast<int>(drawing) - 1].get();
    }
};

struct Form::Impl {
    HWND window = nullptr;          // destroyed by ~Form; null once the system has destroyed it
    win32::GdiObject<HBRUSH> brush; // the back colour, which the form's erase fills in
    std::vector<const Line*> lines; // drawn on the background
    Color back;
    HCURSOR pointer = nullptr; // a shared resource cursor, not destroyed
    bool pointerInvisible = false;
    bool runningScreenSaver = false;
    HWND owner = nullptr; // another program's window, disabled while this form shows
    FormLife life;
    bool startMaximized = false;
    bool pressed = false;      // the left button went down here and is not up yet
    HWND focus = nullptr;      // the control that had the focus when the form was deactivated
    HWND cancel = nullptr;     // the button Escape presses
    UINT dpi = win32::BaseDpi; // the DPI of the monitor it is on, which it is laid out at
    double clientWidth = 0, clientHeight = 0; // twips, as last set; 0: as the system made it
    std::optional<RECT> monitor; // the monitor it covers when shown maximised, device pixels
    win32::DisplayPowerNews displayPower; // while it is the running saver
};

// A standard control: a window of a system class. Its colours and what it does when pressed or
// drawn are told to its form, which the system asks.
struct Control::Impl {
    HWND window = nullptr; // destroyed by ~Control or with its form, whichever comes first
    Form* form = nullptr;
    HWND toolTip = nullptr;
    std::string toolTipText;
    COLORREF fore = RGB(0, 0, 0);
    bool transparent = false;
    win32::GdiObject<HBRUSH> back; // none: the system's own background
    COLORREF backColor = 0;
    win32::GdiObject<HFONT> font;
    Font fontSpec;                                   // what the font is made from, at each DPI
    double left = 0, top = 0, width = 0, height = 0; // twips, as last set
    Picture picture;                                 // a picture button's
    std::function<void()> pressed;                   // the control's Click
    // A new scale, laid out: true where the program made the control's region again.
    std::function<bool()> scaleChanged;
    bool ownerDrawn = false;
};

struct PictureBox::Impl {
    HWND window = nullptr; // destroyed by ~PictureBox or with its parent, whichever comes first
    Form* form = nullptr;  // the form it lives in, which sees its keys
    Color back = Black;
    Picture picture;
    bool autoSize = false;
    LineDrawing drawing;
    bool pressed = false;
    double left = 0, top = 0, width = 0, height = 0; // twips, as last set
};

} // namespace ui
