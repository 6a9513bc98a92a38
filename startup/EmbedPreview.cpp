#include "preview/frmPreview.h"
#include "startup/modMain.h"
#include "ui/Application.h"
#include "ui/Services.h"
#include "ui/WindowCalls.h"

namespace modMain {

// The window becomes a child before it has a parent, and shows only with the last call,
// already in the pane at the pane's size. The calls' results are not looked at.
void EmbedPreview(std::int32_t paneHandle) {
    frmPreview& preview = ui::app::Keep(std::make_shared<frmPreview>());
    try {
        preview.Form.Load();
    } catch (const ui::ProcessEnded&) {
        throw;
    } catch (...) {
        return; // quietly: the pane stays empty
    }
    const ui::WindowHandle pane = ui::HandleFromNumber(paneHandle);
    // A preview that no pane will ever destroy would be a process left behind; the desktop is
    // no pane, and a window on it would cover whatever is there.
    if (!ui::IsWindow(pane) || ui::IsDesktopWindow(pane))
        ui::EndProgram();
    ui::Rect area;
    ui::GetClientRect(pane, area);
    const ui::WindowHandle window = preview.Form.Handle();
    const std::intptr_t style = ui::GetWindowLongValue(window, ui::GwlStyle);
    ui::SetWindowLongValue(window, ui::GwlStyle, style | ui::WsChild);
    ui::SetParent(window, pane);
    ui::SetWindowLongValue(window, ui::GwlHwndParent, static_cast<std::intptr_t>(pane));
    ui::SetWindowPos(window, 0, 0, 0, area.Right, area.Bottom,
                     ui::swp::NoZOrder | ui::swp::NoActivate | ui::swp::ShowWindow);
    preview.LivesIn(pane, area);
}

} // namespace modMain
