// The Win32 forms as the system sees their windows.

#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"
#include "ui/WindowCalls.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <windows.h>

namespace {

class Win32Forms : public testing_support::OutsideWorldTest {};

// The preview's pane destroys its child window with it; another program may do the same.
TEST_F(Win32Forms, AFormWhoseWindowIsDestroyedFromOutsideEndsTheProcess) {
    ui::Form form;
    form.Show();
    DestroyWindow(reinterpret_cast<HWND>(form.Handle()));
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Loaded());
}

TEST_F(Win32Forms, AClosePostedByTheSystemEndsTheProcess) {
    ui::Form form;
    form.Show();
    PostMessageW(reinterpret_cast<HWND>(form.Handle()), WM_CLOSE, 0, 0);
    testing_support::RunEventsFor(100);
    EXPECT_EQ(ends, 1);
}

// The form fills its own background: the class has no brush for the system to delete again.
TEST_F(Win32Forms, TheBackColourIsTheFormsOwn) {
    ui::Form form;
    form.SetBackColor(ui::Rgb(0, 0, 255));
    const HWND window = reinterpret_cast<HWND>(form.Handle());
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), 0);
    form.SetClientSize(300, 300);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(Win32Forms, InputAnywhereReachesTheForm) {
    ui::Form form;
    int downs = 0, wheels = 0;
    form.OnMouseDown = [&] { ++downs; };
    form.OnMouseWheel = [&] { ++wheels; };
    form.Show();
    const HWND window = reinterpret_cast<HWND>(form.Handle());
    for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN})
        SendMessageW(window, message, 0, MAKELPARAM(3, 3));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(3, 3));
    EXPECT_EQ(downs, 4);
    EXPECT_EQ(wheels, 1);
}

// The About box: a tool window with a tooltip, made topmost as it shows, after the dialog hid.
TEST_F(Win32Forms, SetWindowPosMakesAHiddenFormTopmostAsItShowsIt) {
    for (unsigned flags : {0u, ui::swp::ShowWindow | ui::swp::NoActivate}) {
        ui::Form dialog;
        dialog.SetBorderStyle(ui::BorderStyle::FixedToolWindow);
        dialog.Show();
        testing_support::RunEventsFor(100);
        dialog.Hide();
        ui::Form form;
        form.SetBorderStyle(ui::BorderStyle::FixedToolWindow);
        form.SetClientSize(9030, 4485);
        ui::PictureButton globe(form, 3375, 2100, 855, 615, ui::Picture(), "Navigate");
        globe.SetToolTip("Navigate");
        form.OnLoad = [&] {
            form.Move(1500, 1500);
            ui::SetWindowPos(form.Handle(), ui::TopmostWindow, 100, 100, 608, 321, flags);
        };
        form.Show();
        const HWND window = reinterpret_cast<HWND>(form.Handle());
        EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << flags;
        EXPECT_TRUE(IsWindowVisible(window));
    }
}

// The preview in a pane of this process: a child at the pane's size, its other style bits
// kept, shown and not active; the pane's end is its end.
TEST_F(Win32Forms, ThePreviewLivesInItsPaneUntilThePaneGoes) {
    const HWND pane = CreateWindowExW(0, L"STATIC", L"pane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                      50, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(pane);
    RECT client{};
    GetClientRect(pane, &client);
    SetWindowPos(pane, nullptr, 0, 0, 300 + 152 - client.right, 200 + 112 - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    const HWND active = GetActiveWindow();
    modMain::EmbedPreview(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(pane)));
    const HWND preview = GetWindow(pane, GW_CHILD);
    ASSERT_TRUE(preview);
    EXPECT_EQ(GetAncestor(preview, GA_PARENT), pane);
    const auto style = GetWindowLongPtrW(preview, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_POPUP); // kept
    EXPECT_TRUE(IsWindowVisible(preview));
    EXPECT_NE(GetActiveWindow(), preview);
    EXPECT_EQ(GetActiveWindow(), active);
    RECT place{};
    GetWindowRect(preview, &place);
    MapWindowPoints(HWND_DESKTOP, pane, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.right, 152);
    EXPECT_EQ(place.bottom, 112);
    EXPECT_EQ(ends, 0);
    DestroyWindow(pane);
    EXPECT_EQ(ends, 1);
}

// Screen readers: a picture button's name is its window text, a label names the field that
// follows it in the tab order, and a picture that only decorates never takes the focus.
TEST_F(Win32Forms, ScreenReadersFindNamesWhereTheyLookAndPassOverDecorations) {
    ui::Form form;
    form.SetClientSize(6000, 3000);
    ui::PictureBox banner(form, 0, 0, 3000, 600);
    ui::PictureBox clickable(form, 3000, 0, 3000, 600);
    clickable.OnClick = [] {};
    ui::PictureButton exit(form, 150, 2000, 1365, 540, ui::Picture(), "Exit");
    ui::TextBox box(form, 150, 1200, 3000, 330);
    ui::Label label(form, 150, 900, 1500, 300, "Full File Path");
    label.Names(box);
    form.Show();
    const auto window = [](const auto& control) {
        return reinterpret_cast<HWND>(control.Handle());
    };

    wchar_t text[32] = {};
    GetWindowTextW(window(exit), text, 32);
    EXPECT_STREQ(text, L"Exit");
    EXPECT_EQ(GetWindow(window(box), GW_HWNDPREV), window(label));
    label.Names(box); // already in its place: nothing moves
    EXPECT_EQ(GetWindow(window(box), GW_HWNDPREV), window(label));

    exit.SetFocus();
    SendMessageW(window(banner), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(window(banner), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(exit.HasFocus());
    SendMessageW(window(clickable), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(window(clickable), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(GetFocus(), window(clickable));
}

// A report from a failure no routine trapped opened under the topmost saver.
TEST_F(Win32Forms, AReportShowsAboveATopmostForm) {
    ui::Form form;
    form.Show();
    const HWND window = reinterpret_cast<HWND>(form.Handle());
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    std::atomic<LONG_PTR> style{0};
    std::atomic<HWND> owner{nullptr};
    std::thread person([&] {
        for (int i = 0; i < 600; ++i) {
            if (const HWND box = FindWindowW(L"#32770", L"Moondial test report")) {
                style = GetWindowLongPtrW(box, GWL_EXSTYLE);
                owner = GetWindow(box, GW_OWNER);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(50);
        }
    });
    ui::RealWorld().ShowMessage("report", 16, "Moondial test report");
    person.join();
    EXPECT_TRUE(style & WS_EX_TOPMOST);
    EXPECT_EQ(owner.load(), window);
}

} // namespace
