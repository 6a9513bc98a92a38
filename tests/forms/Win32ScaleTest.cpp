// The Windows forms at the scale of the monitor they are on: the layout in logical pixels, that
// many times more device pixels, every text whole in the font made for the scale, the art's
// own drawing for the scale, and a form taken from monitor to monitor without drift.

#include "setup/frmAbout.h"
#include "setup/frmSetup.h"
#include "support/ArtDigests.h"
#include "support/StandIns.h"
#include "ui/Units.h"
#include "ui/win32/Bitmaps.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

HWND Window(const ui::Form& form) {
    return reinterpret_cast<HWND>(form.Handle());
}

// The system moving a form to a monitor of that DPI: it suggests the outer rectangle scaled.
void TakeToDpi(const ui::Form& form, UINT dpi) {
    const HWND window = Window(form);
    RECT outer{};
    GetWindowRect(window, &outer);
    const UINT from = ui::win32::Dpi(window);
    RECT suggested{outer.left, outer.top,
                   outer.left + MulDiv(outer.right - outer.left, static_cast<int>(dpi),
                                       static_cast<int>(from)),
                   outer.top + MulDiv(outer.bottom - outer.top, static_cast<int>(dpi),
                                      static_cast<int>(from))};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

RECT InParent(HWND child) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

BOOL CALLBACK Collect(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}
std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

// Each control's text that does not show whole in the control's own font, shown or not: its
// ink within the width (an option's circle and gap taken off) and the font's em within the
// height, each line of a wrapping label. A picture button's text is its name for screen
// readers, never drawn.
std::vector<std::string> CutTexts(HWND form) {
    std::vector<std::string> cut;
    const double scale = ui::win32::ScaleOf(ui::win32::Dpi(form));
    for (HWND child : Children(form)) {
        wchar_t text[512] = {}, kind[32] = {};
        const int length = GetWindowTextW(child, text, 512);
        GetClassNameW(child, kind, 32);
        std::wstring shown(text, static_cast<std::size_t>(length));
        shown.erase(std::remove(shown.begin(), shown.end(), L'&'), shown.end());
        const bool drawn = (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW ||
                           lstrcmpiW(kind, L"Button") != 0;
        if (shown.empty() || !drawn)
            continue;
        RECT room{};
        GetClientRect(child, &room);
        const HDC dc = GetDC(child);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        const bool wraps = lstrcmpiW(kind, L"Static") == 0;
        RECT needed = room;
        DrawTextW(dc, shown.c_str(), -1, &needed,
                  DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        ABC last{};
        GetCharABCWidthsW(dc, shown.back(), shown.back(), &last);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        // The space after the last letter is no ink of it.
        const int width = needed.right - needed.left - std::max(0, last.abcC);
        const int lines =
            std::max(1, static_cast<int>((needed.bottom - needed.top) / metrics.tmHeight));
        const int height =
            (lines - 1) * metrics.tmHeight + metrics.tmHeight - metrics.tmInternalLeading;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const bool option = lstrcmpiW(kind, L"Button") == 0 && (style & 0xF) == BS_AUTORADIOBUTTON;
        const int circle = option ? static_cast<int>(16 * scale) : 0;
        // Within a logical pixel: at the sizes the layout gives, "Version" in bold 15.75 points
        // reaches a pixel past its label at 100% already; a cut word is many pixels more.
        const int slack = static_cast<int>(std::ceil(scale));
        if (width + circle > room.right + slack || height > room.bottom + slack)
            cut.push_back(std::string(shown.begin(), shown.end()) + " needs " +
                          std::to_string(width + circle) + "x" + std::to_string(height) + ", has " +
                          std::to_string(room.right) + "x" + std::to_string(room.bottom));
    }
    return cut;
}

std::vector<RECT> Places(HWND form) {
    std::vector<RECT> places;
    for (HWND child : Children(form))
        places.push_back(InParent(child));
    return places;
}

bool SamePlaces(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}

SIZE Client(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

bool Near(long actual, double logical, double scale) {
    return std::abs(actual - ui::LogicalToDevice(logical, scale)) <= 1;
}

class Win32Scale : public testing_support::OutsideWorldTest {};

constexpr UINT Dpis[] = {96, 120, 144, 168, 192, 240, 288}; // 100% to 300%

TEST_F(Win32Scale, TheSetupDialogIsItsLayoutAtEveryScaleWithEveryTextWhole) {
    for (UINT dpi : Dpis) {
        SCOPED_TRACE(dpi);
        const double scale = dpi / 96.0;
        frmSetup d;
        d.Show();
        TakeToDpi(d.Form, dpi);
        const HWND window = Window(d.Form);
        EXPECT_TRUE(Near(Client(window).cx, 493, scale) && Near(Client(window).cy, 355, scale))
            << Client(window).cx << "x" << Client(window).cy;
        // Every figure the program reads back is the logical one.
        const ui::OptionButton& custom = d.optScreenSaver[3];
        EXPECT_EQ(custom.Left(), 225);
        EXPECT_EQ(custom.Width(), 1785);
        EXPECT_EQ(d.Form.ScaleWidth(), 7395);
        const RECT place = InParent(reinterpret_cast<HWND>(custom.Handle()));
        EXPECT_EQ(place.left, ui::LogicalToDevice(15, scale));
        EXPECT_EQ(place.right - place.left, ui::LogicalToDevice(119, scale));
        for (const std::string& text : CutTexts(window))
            ADD_FAILURE() << "cut: " << text;
        // The rounded outline, scaled with its button.
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(reinterpret_cast<HWND>(d.cmdAbout.Handle()), region), ERROR);
        RECT box{};
        GetRgnBox(region, &box);
        DeleteObject(region);
        // The system leaves out the outline's last row and column, a pixel wider at the scale.
        EXPECT_LE(std::abs(box.right - ui::LogicalToDevice(89, scale)), scale + 1) << box.right;
        EXPECT_LE(std::abs(box.bottom - ui::LogicalToDevice(30, scale)), scale + 1) << box.bottom;
    }
}

TEST_F(Win32Scale, TheAboutBoxIsItsLayoutAtEveryScaleWithEveryTextWhole) {
    ui::Form owner;
    for (UINT dpi : Dpis) {
        SCOPED_TRACE(dpi);
        const double scale = dpi / 96.0;
        frmAbout about(owner);
        about.Show();
        TakeToDpi(about.Form, dpi);
        const HWND window = Window(about.Form);
        EXPECT_TRUE(Near(Client(window).cx, 602, scale) && Near(Client(window).cy, 299, scale))
            << Client(window).cx << "x" << Client(window).cy;
        for (const std::string& text : CutTexts(window))
            ADD_FAILURE() << "cut: " << text;
        about.Form.Close();
    }
}

// From monitor to monitor and back, every control is where it was, to the pixel.
TEST_F(Win32Scale, AFormTakenAcrossScalesAndBackHasNotMoved) {
    frmSetup d;
    d.Show();
    const HWND window = Window(d.Form);
    const std::vector<RECT> before = Places(window);
    const SIZE client = Client(window);
    for (UINT dpi : {144u, 120u, 288u, 168u, 96u})
        TakeToDpi(d.Form, dpi);
    EXPECT_TRUE(SamePlaces(Places(window), before));
    EXPECT_EQ(Client(window).cx, client.cx);
    EXPECT_EQ(Client(window).cy, client.cy);
}

// The rounded buttons' outlines are made again from the program's own figures at each scale:
// across scales and back, not a pixel of them has moved, and at each they are the figures'.
TEST_F(Win32Scale, RoundedOutlinesAcrossScalesAndBackHaveNotMoved) {
    frmSetup d;
    d.Show();
    const auto region = [](const ui::PictureButton& button) {
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(reinterpret_cast<HWND>(button.Handle()), shape), ERROR);
        return shape;
    };
    const auto boxOf = [](HRGN shape) {
        RECT box{};
        GetRgnBox(shape, &box);
        return std::vector<LONG>{box.left, box.top, box.right, box.bottom};
    };
    HRGN before = region(d.cmdExit);
    for (UINT dpi : {144u, 120u, 288u, 168u, 96u}) {
        SCOPED_TRACE(dpi);
        TakeToDpi(d.Form, dpi);
        const auto pixels = [dpi](int logical) {
            return static_cast<int>(ui::LogicalToDevice(logical, dpi / 96.0));
        };
        HRGN shown = region(d.cmdExit);
        HRGN wanted = CreateRoundRectRgn(pixels(3), pixels(4), pixels(89), pixels(30), pixels(15),
                                         pixels(15));
        EXPECT_EQ(boxOf(shown), boxOf(wanted));
        DeleteObject(shown);
        DeleteObject(wanted);
    }
    HRGN after = region(d.cmdExit);
    EXPECT_TRUE(EqualRgn(after, before)) << "the outline moved";
    DeleteObject(before);
    DeleteObject(after);
}

// The pointer reaches the handlers in twips of logical pixels.
TEST_F(Win32Scale, PointerPositionsAreLogical) {
    ui::Form form;
    form.SetClientSize(6000, 6000);
    std::vector<std::pair<float, float>> seen;
    form.OnMouseMove = [&](float x, float y) { seen.emplace_back(x, y); };
    form.Show();
    TakeToDpi(form, 192);
    SendMessageW(Window(form), WM_MOUSEMOVE, 0, MAKELPARAM(200, 101));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FLOAT_EQ(seen[0].first, 1500);
    EXPECT_FLOAT_EQ(seen[0].second, 757.5f);
}

// Each drawing of the art, as the program decodes it, is the one first committed.
TEST(Win32Art, EveryDrawingIsPixelForPixelTheOneCommitted) {
    for (const auto& art : testing_support::ArtDigests) {
        const ui::Picture picture = ui::ResourcePicture(art.name);
        const ui::Picture::Data* drawing = picture.Get();
        if (art.scale != testing_support::ArtScale::One)
            drawing = drawing->larger[art.scale == testing_support::ArtScale::Two].get();
        ASSERT_NE(drawing, nullptr) << art.name;
        testing_support::PixelDigest digest(drawing->width, drawing->height);
        const std::uint32_t* pixel = drawing->pixels;
        for (const std::uint32_t* end = pixel + drawing->width * drawing->height; pixel != end;
             ++pixel)
            digest.AddPixel(*pixel >> 16 & 0xff, *pixel >> 8 & 0xff, *pixel & 0xff);
        EXPECT_EQ(digest.Value(), art.digest) << art.name << " " << static_cast<int>(art.scale);
    }
}

// The program's art: the drawing for each scale, the next larger reduced where there is none.
TEST(Win32Art, EachScaleTakesItsOwnDrawing) {
    const ui::Picture clock = ui::ResourcePicture("clock");
    const ui::Picture::Data& art = *clock.Get();
    ASSERT_TRUE(art.larger[0] && art.larger[1]);
    EXPECT_EQ(&art.For(143, 143), &art);
    EXPECT_EQ(&art.For(179, 179), art.larger[0].get()); // 125%: the 1.5x drawing, reduced
    EXPECT_EQ(&art.For(214, 214), art.larger[0].get());
    EXPECT_EQ(&art.For(250, 250), art.larger[1].get()); // 175%
    EXPECT_EQ(&art.For(286, 286), art.larger[1].get());
    EXPECT_EQ(&art.For(429, 429), art.larger[1].get()); // 300%: the largest
    EXPECT_EQ(art.larger[1]->width, 286);

    // Drawn at 200%, the picture is its 2x drawing pixel for pixel.
    const HDC screen = GetDC(nullptr);
    ui::win32::MemoryDc dc(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    ui::win32::GdiObject<HBITMAP> target(ui::win32::MakeDibSection(286, 286, &bits));
    ASSERT_NE(target.Get(), nullptr);
    {
        ui::win32::Selection selected(dc.Get(), target.Get());
        ui::win32::DrawPicture(dc.Get(), art, 0, 0, 286, 286);
        GdiFlush();
    }
    const auto* drawn = static_cast<const std::uint32_t*>(bits);
    EXPECT_TRUE(std::equal(drawn, drawn + 286 * 286, art.larger[1]->pixels));
}

} // namespace
