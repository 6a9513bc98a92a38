#include "ui/win32/AccessibleText.h"

#include "ui/win32/Text.h"

#include <oleacc.h>

namespace ui::win32 {

void SetAccessibleDescription(HWND window, const std::string& description) {
    static constexpr CLSID AccPropServices = {
        0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    static constexpr IID Services = {
        0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
    static constexpr GUID Description = {
        0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(AccPropServices, nullptr, CLSCTX_INPROC_SERVER, Services,
                                reinterpret_cast<void**>(&services))))
        return; // COM not started on this thread, or a system without the service
    services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, Description,
                             Wide(description).c_str());
    services->Release();
}

} // namespace ui::win32
