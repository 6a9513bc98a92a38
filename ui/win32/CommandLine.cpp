#include "ui/win32/CommandLine.h"

#include <windows.h>

namespace ui::win32 {

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return !prefix.empty() && text.size() >= prefix.size() &&
           CompareStringOrdinal(text.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

std::wstring ArgumentsAfterProgram(std::wstring_view line, std::wstring_view modulePath) {
    std::size_t at = 0;
    if (!line.empty() && line.front() == L'"') {
        at = line.find(L'"', 1);
        at = at == std::wstring_view::npos ? line.size() : at + 1;
    } else if (StartsWithIgnoringCase(line, modulePath) &&
               (line.size() == modulePath.size() || IsBlank(line[modulePath.size()]))) {
        at = modulePath.size();
    } else {
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
    }
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    return std::wstring(line.substr(at));
}

} // namespace ui::win32
