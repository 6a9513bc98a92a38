#pragma once
// The small window that lives in the display settings' preview pane: the lips and the name,
// their colours fading while the pane shows it.

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"
#include "ui/WindowCalls.h"

#include <cstdint>

class frmPreview {
public:
    frmPreview();

    ui::Form Form;
    ui::PictureBox imgLips;
    ui::Label lbl0; // lbl(0)
    ui::Timer tmrColor;

    void Form_Load();
    void Form_Resize();
    void tmrColor_Timer();

    std::int32_t BlueLevel = 0;
    std::int32_t BlueStep = 0;
    std::int32_t RedLevel = 0;
    std::int32_t RedStep = 0;

    // Placed in the pane, at its size: from now on the preview follows it.
    void LivesIn(ui::WindowHandle pane, const ui::Rect& area) {
        pane_ = pane;
        paneArea_ = area;
    }

private:
    // The pane gone, the preview has nothing to live in and ends; a pane that changed its size
    // has the preview laid out again at the new one.
    void FollowPane();
    ui::WindowHandle pane_ = 0;
    ui::Rect paneArea_;
};
