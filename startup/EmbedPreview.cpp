#include "preview/frmPreview.h"
#include "startup/Embedding.h"
#include "startup/modMain.h"
#include "ui/Application.h"
#include "ui/Services.h"

namespace modMain {

void EmbedPreview(std::int32_t paneHandle) {
    frmPreview* made = nullptr;
    try {
        made = &ui::app::Keep(std::make_shared<frmPreview>());
        made->Form.Load();
    } catch (const ui::ProcessEnded&) {
        throw;
    } catch (...) {
        return; // quietly, whether the form failed to be made or to load: the pane stays empty
    }
    frmPreview& preview = *made;
    const ui::WindowHandle pane = ui::HandleFromNumber(paneHandle);
    // No pane would ever destroy a preview in no window; the desktop is no pane, and a window
    // on it would cover whatever is there.
    if (!ui::IsWindow(pane) || ui::IsDesktopWindow(pane))
        ui::EndProgram();
    const ui::WindowHandle window = preview.Form.Handle();
    preview.Pane.Watch(window, pane, PlaceInWindow(window, pane));
}

} // namespace modMain
