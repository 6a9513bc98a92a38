#pragma once
// The system's own DLLs, from the system folder only: never from the program's folder, where a
// downloaded saver sits beside whatever else was downloaded, nor from the current folder.

#include <windows.h>

namespace ui::win32 {

// Keeps every later lookup of the process to the system folder, where the system can (Windows
// 8, and 7 with its update); elsewhere it takes the current folder out of the search at least.
// The first thing the program does.
void LoadSystemLibrariesOnly();

// The DLL of that name from the system folder, kept for the process's life; null where the
// system has none. A DLL the manifest names (common controls 6) still comes side by side.
HMODULE SystemLibrary(const wchar_t* name);

// A function of such a DLL; null where the system has none.
template <typename Function> Function SystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = SystemLibrary(library);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

} // namespace ui::win32
