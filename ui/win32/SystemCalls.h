#pragma once
// The functions the program needs from system DLLs that are not the system's known ones, called
// through SystemLibrary so that no copy beside the program is ever loaded. Each fails as the
// system's own would where the DLL or the function is missing.

// clang-format off
#include <windows.h>
#include <commctrl.h> // after windows.h, which they need
#include <commdlg.h>
#include <wincodec.h>
// clang-format on

namespace ui::win32::sys {

BOOL AlphaBlend(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend);
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
DWORD CommDlgExtendedError();
HRESULT SetWindowTheme(HWND window, const wchar_t* application, const wchar_t* idList);
DWORD GetFileVersionInfoSizeW(const wchar_t* path, DWORD* handle);
BOOL GetFileVersionInfoW(const wchar_t* path, DWORD handle, DWORD size, void* block);
BOOL VerQueryValueW(const void* block, const wchar_t* query, void** value, UINT* length);
HRESULT WICConvertBitmapSource(REFWICPixelFormatGUID format, IWICBitmapSource* source,
                               IWICBitmapSource** converted);

} // namespace ui::win32::sys
