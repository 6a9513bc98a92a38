#include "startup/Embedding.h"

#include "ui/Services.h"

namespace modMain {

ui::Rect PlaceInWindow(ui::WindowHandle window, ui::WindowHandle host) {
    ui::Rect area;
    ui::GetClientRect(host, area);
    const std::intptr_t style = ui::GetWindowLongValue(window, ui::GwlStyle);
    ui::SetWindowLongValue(window, ui::GwlStyle, style | ui::WsChild);
    ui::SetParent(window, host);
    ui::SetWindowLongValue(window, ui::GwlHwndParent, static_cast<std::intptr_t>(host));
    ui::SetWindowPos(window, 0, 0, 0, area.Right, area.Bottom,
                     ui::swp::NoZOrder | ui::swp::NoActivate | ui::swp::ShowWindow);
    return area;
}

void HostWatch::Check() {
    if (!host_)
        return;
    ui::Rect area;
    if (!ui::GetClientRect(host_, area))
        ui::EndProgram();
    if (area == area_)
        return;
    area_ = area;
    ui::SetWindowPos(window_, 0, 0, 0, area.Right, area.Bottom,
                     ui::swp::NoZOrder | ui::swp::NoActivate);
}

} // namespace modMain
