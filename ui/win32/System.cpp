#include "ui/System.h"

#include "ui/Error.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/SystemCalls.h"
#include "ui/win32/Text.h"

#include <algorithm>
#include <vector>
// clang-format off
#include <windows.h>
#include <commdlg.h> // after windows.h, which it needs
#include <shellapi.h>
// clang-format on

namespace ui::sys {

namespace {

// The program's own windows on the screen, to own a box and to tell whether one is topmost.
BOOL CALLBACK CollectShown(HWND window, LPARAM list) {
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

void ShowMessageBox(const std::string& text, int style, const std::string& title) {
    std::vector<HWND> shown;
    EnumThreadWindows(GetCurrentThreadId(), CollectShown, reinterpret_cast<LPARAM>(&shown));
    // Owned by the active window, or else one on the screen, so it stays in front of it;
    // task-modal when there is none. Above a topmost window it must be topmost itself.
    HWND owner = GetActiveWindow();
    if (!owner && !shown.empty())
        owner = shown.front();
    const bool topmost = std::any_of(shown.begin(), shown.end(), [](HWND w) {
        return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    });
    const UINT flags = MB_OK | static_cast<UINT>(style) | (owner ? 0u : UINT{MB_TASKMODAL}) |
                       (topmost ? UINT{MB_TOPMOST} : 0u);
    MessageBoxW(owner, win32::Wide(text).c_str(), win32::Wide(title).c_str(), flags);
}

// The filter "description|patterns" in the dialog's form: pairs of texts ending in two nulls.
std::optional<std::string> ChooseFileInDialog(const std::string& folder,
                                              const std::string& filter) {
    std::wstring filters = win32::Wide(filter);
    std::replace(filters.begin(), filters.end(), L'|', L'\0');
    filters.append(2, L'\0');
    const std::wstring start = win32::Wide(folder);
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = start.c_str();
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!win32::sys::GetOpenFileNameW(&dialog)) {
        if (const DWORD code = win32::sys::CommDlgExtendedError())
            throw Error(static_cast<std::int32_t>(code), "The Open dialog failed", "Common dialog");
        return std::nullopt;
    }
    file.resize(file.find(L'\0'));
    return win32::Utf8(file);
}

bool OpenInBrowser(const std::string& address) {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, L"open", win32::Wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::vector<std::string> ArgumentList() {
    int count = 0;
    wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; split && i < count; ++i)
        arguments.push_back(win32::Utf8(split[i]));
    LocalFree(split);
    return arguments;
}

std::string ArgumentText() {
    return win32::Utf8(win32::ArgumentsAfterProgram(GetCommandLineW(), win32::ModulePath()));
}

[[noreturn]] void EndNow() {
    ExitProcess(0);
}

} // namespace ui::sys
