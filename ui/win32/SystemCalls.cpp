#include "ui/win32/SystemCalls.h"

#include "ui/win32/SystemLibrary.h"

#include <cderr.h>
#include <uxtheme.h>

namespace ui::win32::sys {

namespace {

// The function, looked up once per declaration it stands for; then called, or failed with.
template <auto& Declared, typename Result, typename... Arguments>
Result Call(const wchar_t* library, const char* name, Result failed, Arguments... arguments) {
    using Function = decltype(&Declared);
    static const Function found = SystemFunction<Function>(library, name);
    if (!found) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return failed;
    }
    return found(arguments...);
}

} // namespace

BOOL AlphaBlend(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    return Call<::AlphaBlend>(L"msimg32.dll", "AlphaBlend", FALSE, target, x, y, width, height,
                              source, sourceX, sourceY, sourceWidth, sourceHeight, blend);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    return Call<::InitCommonControlsEx>(L"comctl32.dll", "InitCommonControlsEx", FALSE, classes);
}

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog) {
    return Call<::GetOpenFileNameW>(L"comdlg32.dll", "GetOpenFileNameW", FALSE, dialog);
}

DWORD CommDlgExtendedError() {
    return Call<::CommDlgExtendedError>(L"comdlg32.dll", "CommDlgExtendedError",
                                        static_cast<DWORD>(CDERR_INITIALIZATION));
}

HRESULT SetWindowTheme(HWND window, const wchar_t* application, const wchar_t* idList) {
    return Call<::SetWindowTheme>(L"uxtheme.dll", "SetWindowTheme", E_NOTIMPL, window, application,
                                  idList);
}

DWORD GetFileVersionInfoSizeW(const wchar_t* path, DWORD* handle) {
    return Call<::GetFileVersionInfoSizeW>(L"version.dll", "GetFileVersionInfoSizeW", DWORD{0},
                                           path, handle);
}

BOOL GetFileVersionInfoW(const wchar_t* path, DWORD handle, DWORD size, void* block) {
    return Call<::GetFileVersionInfoW>(L"version.dll", "GetFileVersionInfoW", FALSE, path, handle,
                                       size, block);
}

BOOL VerQueryValueW(const void* block, const wchar_t* query, void** value, UINT* length) {
    return Call<::VerQueryValueW>(L"version.dll", "VerQueryValueW", FALSE, block, query, value,
                                  length);
}

HRESULT WICConvertBitmapSource(REFWICPixelFormatGUID format, IWICBitmapSource* source,
                               IWICBitmapSource** converted) {
    return Call<::WICConvertBitmapSource>(L"windowscodecs.dll", "WICConvertBitmapSource", E_NOTIMPL,
                                          format, source, converted);
}

} // namespace ui::win32::sys
