#include "ui/Application.h"

#include "ui/EventLoop.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/Impl.h"
#include "ui/win32/SystemCalls.h"
#include "ui/win32/SystemLibrary.h"
#include "ui/win32/Text.h"
#include "ui/win32/VersionInfo.h"

#include <vector>
#include <windows.h>

namespace ui::app {

Version ProgramVersion() {
    return win32::VersionInfo(win32::ModulePath())
        .FileVersion()
        .value_or(
            Version{MOONDIAL_VERSION_MAJOR, MOONDIAL_VERSION_MINOR, MOONDIAL_VERSION_REVISION});
}

std::string FileDescription() {
    return win32::VersionInfo(win32::ModulePath()).Text(L"FileDescription");
}

bool RunsScreenSaverHacks() {
    return false;
}

// The saver runs under the display settings' own rules on Windows: no hack mode asks for this.
void EndOnTerminationSignals() {}

std::string Folder() {
    std::wstring path = win32::ModulePath();
    const auto slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash);
    return win32::Utf8(path);
}

} // namespace ui::app

namespace ui {

struct EventLoop::Impl {};

EventLoop::EventLoop(int& /*argc*/, char** /*argv*/, bool /*namesOtherWindows*/) {
    win32::LoadSystemLibrariesOnly();
}

EventLoop::~EventLoop() = default;

// Delivers messages until the program ends the process (EndProgram) or a WM_QUIT arrives.
int EventLoop::Exec() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (win32::DialogKey(message))
            continue;
        TranslateMessage(&message); // the typed characters a picture box's key handler sees
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace ui
