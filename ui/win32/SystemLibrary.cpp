#include "ui/win32/SystemLibrary.h"

#include <string>

namespace ui::win32 {

void LoadSystemLibrariesOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up: Windows 7 without its update has no such function.
    const auto restrict =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!restrict || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}

HMODULE SystemLibrary(const wchar_t* name) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER) // the flag is known: the DLL is not there
        return nullptr;
    // A system that does not know the flag: the full path, and the DLL's own dependencies from
    // its folder too.
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace ui::win32
