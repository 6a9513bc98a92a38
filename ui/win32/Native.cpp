#include "ui/win32/Native.h"

#include "ui/Error.h"
#include "ui/win32/Text.h"

namespace ui::win32 {

WindowClass::WindowClass(WNDCLASSEXW classInfo) : name_(classInfo.lpszClassName) {
    classInfo.cbSize = sizeof classInfo;
    classInfo.hInstance = GetModuleHandleW(nullptr);
    if (!RegisterClassExW(&classInfo))
        FailLastError();
}

WindowClass::~WindowClass() {
    UnregisterClassW(name_.c_str(), GetModuleHandleW(nullptr));
}

void FailLastError() {
    const DWORD code = GetLastError();
    throw Error(static_cast<std::int32_t>(code), SystemMessage(code));
}

} // namespace ui::win32
