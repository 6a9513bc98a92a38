#include "ui/win32/VersionInfo.h"

#include "ui/win32/SystemCalls.h"
#include "ui/win32/Text.h"

#include <windows.h>

namespace ui::win32 {

VersionInfo::VersionInfo(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = sys::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    block_.resize(size);
    if (size == 0 || !sys::GetFileVersionInfoW(path.c_str(), 0, size, block_.data()))
        block_.clear();
}

std::optional<app::Version> VersionInfo::FileVersion() const {
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (block_.empty() ||
        !sys::VerQueryValueW(block_.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        length < sizeof *info)
        return std::nullopt;
    return app::Version{static_cast<int>(HIWORD(info->dwFileVersionMS)),
                        static_cast<int>(LOWORD(info->dwFileVersionMS)),
                        static_cast<int>(LOWORD(info->dwFileVersionLS))};
}

std::string VersionInfo::Text(const wchar_t* name) const {
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (block_.empty() ||
        !sys::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof *translations)
        return {};
    wchar_t query[96];
    wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", translations->language,
              translations->codePage, name);
    wchar_t* text = nullptr;
    if (!sys::VerQueryValueW(block_.data(), query, reinterpret_cast<void**>(&text), &length) ||
        !text)
        return {};
    return Utf8(std::wstring_view(text, length ? length - 1 : 0));
}

} // namespace ui::win32
