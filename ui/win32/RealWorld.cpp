#include "ui/InstanceMark.h"
#include "ui/Outside.h"
#include "ui/SystemClock.h"
#include "ui/win32/Text.h"

#include <windows.h>

namespace ui {

namespace {

void ShowMessageBox(const std::string& text, int style, const std::string& title) {
    // Owned by the active window so it stays in front of it; task-modal when there is none.
    HWND owner = GetActiveWindow();
    const UINT flags = MB_OK | static_cast<UINT>(style) | (owner ? 0u : UINT{MB_TASKMODAL});
    MessageBoxW(owner, win32::Wide(text).c_str(), win32::Wide(title).c_str(), flags);
}

// The system's command line less the program's path (quoted or not) and the blanks after it.
std::string ArgumentText() {
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return win32::Utf8(p);
}

bool OtherInstanceHoldsMark() {
    // Taken at the first question and held until the process ends.
    static const InstanceMark mark;
    return !mark.Held();
}

[[noreturn]] void EndNow() {
    ExitProcess(0);
}

} // namespace

Outside RealWorld() {
    Outside world;
    world.ShowMessage = ShowMessageBox;
    world.CommandLine = ArgumentText;
    world.AnotherInstanceRunning = OtherInstanceHoldsMark;
    world.Now = SystemNow;
    world.EndProcess = EndNow;
    return world;
}

} // namespace ui
