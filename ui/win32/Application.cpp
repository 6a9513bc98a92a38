#include "ui/Application.h"

#include "ui/EventLoop.h"
#include "ui/win32/CommandLine.h"
#include "ui/win32/DialogKeys.h"
#include "ui/win32/Impl.h"
#include "ui/win32/SystemCalls.h"
#include "ui/win32/SystemLibrary.h"
#include "ui/win32/Text.h"

#include <vector>
#include <windows.h>

namespace ui::app {

namespace {

// The program's own version block, read back as the system reads it.
std::vector<unsigned char> VersionBlock() {
    const std::wstring path = win32::ModulePath();
    DWORD ignored = 0;
    const DWORD size = win32::sys::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<unsigned char> block(size);
    if (size == 0 || !win32::sys::GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

} // namespace

Version ProgramVersion() {
    auto block = VersionBlock();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !win32::sys::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info),
                                    &length) ||
        length < sizeof *info)
        return {MOONDIAL_VERSION_MAJOR, MOONDIAL_VERSION_MINOR, MOONDIAL_VERSION_REVISION};
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionLS))};
}

std::string FileDescription() {
    auto block = VersionBlock();
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !win32::sys::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                    reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof *translations)
        return {};
    wchar_t query[64];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\FileDescription", translations->language,
              translations->codePage);
    wchar_t* text = nullptr;
    if (!win32::sys::VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text),
                                    &length) ||
        !text)
        return {};
    return win32::Utf8(std::wstring_view(text, length ? length - 1 : 0));
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
