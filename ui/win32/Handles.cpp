#include "ui/win32/Handles.h"

#include "ui/win32/LastError.h"

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

MessageWindow::MessageWindow(const wchar_t* className, WNDPROC procedure)
    : class_([className, procedure] {
          WNDCLASSEXW classInfo{};
          classInfo.lpfnWndProc = procedure;
          classInfo.lpszClassName = className;
          return classInfo;
      }()),
      window_(CreateWindowExW(0, class_.Name(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    if (!window_)
        FailLastError();
}

MessageWindow::~MessageWindow() {
    DestroyWindow(window_);
}

} // namespace ui::win32
