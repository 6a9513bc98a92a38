#include "saver/frmMoondialMain.h"
#include "startup/Embedding.h"

void frmMoondialMain::ShowIn(ui::WindowHandle host, const std::optional<std::string>& picture) {
    Hosted = true;
    PictureOverride = picture;
    // The daemon owns input and the end.
    Form.OnMouseMove = nullptr;
    Form.OnClick = nullptr;
    Form.OnKeyDown = nullptr;
    Form.OnMouseDown = nullptr;
    Form.OnMouseWheel = nullptr;
    picCustom.OnClick = nullptr;
    picCustom.OnKeyPress = picLips.OnKeyPress = picClock.OnKeyPress = nullptr;
    Form.SetStartMaximized(false);
    Form.Load();
    const ui::WindowHandle window = Form.Handle();
    Host.Watch(window, host, modMain::PlaceInWindow(window, host));
    // A host that changes its size gives the picture new room; a host gone ends the saver.
    tmrHost.emplace(Form, 500, true);
    tmrHost->OnTick = [this] { Host.Check(); };
}
