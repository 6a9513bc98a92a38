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

void DrawPicture(HDC target, const Picture::Data& picture, int x, int y) {
    MemoryDc source(target);
    Selection bitmap(source.Get(), picture.bitmap.Get());
    if (picture.opaque) {
        BitBlt(target, x, y, picture.width, picture.height, source.Get(), 0, 0, SRCCOPY);
        return;
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, x, y, picture.width, picture.height, source.Get(), 0, 0, picture.width,
               picture.height, blend);
}

} // namespace ui::win32
