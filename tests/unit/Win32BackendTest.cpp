// What only the Win32 backend has: its command line, its windows as the system sees them, and
// the stream a codec reads a checked file through.

#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"
#include "ui/WindowCalls.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/FileStream.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <windows.h>

namespace {

using ui::win32::ArgumentsAfterProgram;

TEST(Win32CommandLine, TheProgramsOwnPathIsSkippedExactly) {
    const std::wstring path = L"C:\\Program Files\\Quillon\\moondial.scr";
    EXPECT_EQ(ArgumentsAfterProgram(L"\"C:\\Program Files\\Quillon\\moondial.scr\" /s", path),
              L"/s");
    // Unquoted with blanks, as some launchers pass it, in any case.
    EXPECT_EQ(ArgumentsAfterProgram(L"C:\\Program Files\\Quillon\\moondial.scr /p 4711", path),
              L"/p 4711");
    EXPECT_EQ(ArgumentsAfterProgram(L"c:\\PROGRAM FILES\\quillon\\MOONDIAL.SCR\t/c:12", path),
              L"/c:12");
    EXPECT_EQ(ArgumentsAfterProgram(L"C:\\Program Files\\Quillon\\moondial.scr", path), L"");
    // Another form of the path: its first word, as before.
    EXPECT_EQ(ArgumentsAfterProgram(L"moondial.scr  /S", path), L"/S");
    EXPECT_EQ(ArgumentsAfterProgram(L"C:\\PROGRA~1\\Quillon\\moondial.scr /s", path), L"/s");
    EXPECT_EQ(ArgumentsAfterProgram(L"\"unterminated /s", path), L"");
    EXPECT_EQ(ArgumentsAfterProgram(L"", path), L"");
}

// A stream of a file's first bytes and a tail, as a GIF's first image is shown to its codec:
// read in pieces of every size, across the edges of its window and of the file.
TEST(Win32FileStream, ShowsTheFilesFirstBytesThenTheTail) {
    const auto path = std::filesystem::temp_directory_path() / "moondial-stream.bin";
    std::string contents;
    for (int i = 0; i < 200'000; ++i)
        contents += static_cast<char>('a' + i % 23);
    std::ofstream(path, std::ios::binary) << contents;
    const std::uint64_t length = 150'000;
    const std::string expected = contents.substr(0, length) + ";";

    ui::win32::FileHandle file(CreateFileW(path.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    IStream* stream = ui::win32::CreateFileStream(std::move(file), length, ";");
    STATSTG stat{};
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, length + 1);

    std::string seen;
    for (ULONG piece : {1u, 2u, 255u, 70'000u, 4096u, 100'000u}) {
        std::string buffer(piece, '\0');
        ULONG read = 0;
        ASSERT_EQ(stream->Read(buffer.data(), piece, &read), S_OK);
        seen += buffer.substr(0, read);
    }
    EXPECT_EQ(seen, expected);

    // Back to any place, and on from there.
    LARGE_INTEGER to{};
    to.QuadPart = -3;
    ULARGE_INTEGER at{};
    ASSERT_EQ(stream->Seek(to, STREAM_SEEK_END, &at), S_OK);
    EXPECT_EQ(at.QuadPart, length - 2);
    char last[8] = {};
    ULONG read = 0;
    ASSERT_EQ(stream->Read(last, sizeof last, &read), S_OK);
    EXPECT_EQ(std::string(last, read), expected.substr(length - 2));
    to.QuadPart = 65'530;
    ASSERT_EQ(stream->Seek(to, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(stream->Read(last, sizeof last, &read), S_OK);
    EXPECT_EQ(std::string(last, read), contents.substr(65'530, 8));
    EXPECT_EQ(stream->Release(), 0u);

    std::filesystem::remove(path); // the stream closed the file with its last reference
}

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

namespace {

class Win32Store : public testing_support::OutsideWorldTest {};

// A value of another kind than text where the program expects text, as a hand edit may leave
// it: the routine's own report, and the value is kept as it was.
TEST_F(Win32Store, AValueOfAnotherKindIsReportedAndKept) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD three = 3;
    RegSetValueExW(key, L"Screen Saver Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three),
                   sizeof three);
    EXPECT_EQ(modMain::GetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey,
                                 "Screen Saver Type", "1"),
              "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Public Sub GetRegKey\r\n"),
              std::string::npos);
    DWORD type = 0, value = 0, size = sizeof value;
    RegQueryValueExW(key, L"Screen Saver Type", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                     &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 3u);
    RegCloseKey(key);
}

// A key that cannot be opened for writing: the write's own report, and nothing changes.
TEST_F(Win32Store, AKeyThatCannotBeWrittenIsReportedAndKept) {
    modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Screen Saver Type", "2");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0,
                            READ_CONTROL | WRITE_DAC, &key),
              ERROR_SUCCESS);
    // Read only, for everyone.
    SECURITY_DESCRIPTOR descriptor{};
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    alignas(ACL) BYTE aclBytes[256] = {};
    auto* acl = reinterpret_cast<ACL*>(aclBytes);
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | READ_CONTROL, everyone);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    const LONG secured = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    FreeSid(everyone);
    RegCloseKey(key);
    HKEY probe = nullptr;
    const LONG writable =
        RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0, KEY_SET_VALUE, &probe);
    if (probe)
        RegCloseKey(probe);
    if (secured != ERROR_SUCCESS || writable == ERROR_SUCCESS)
        GTEST_SKIP() << "this system does not keep a key from being written";
    modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, "Screen Saver Type", "4");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("   Routine Name : Public Sub SetRegKey\r\n"),
              std::string::npos);
    EXPECT_EQ(testing_support::Stored("Screen Saver Type"), "2");
    // Open to all again, so the store can be cleared for the next test.
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\Moondial", 0, WRITE_DAC, &key) ==
        ERROR_SUCCESS) {
        SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
        RegCloseKey(key);
    }
}

} // namespace
