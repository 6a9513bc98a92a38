#pragma once
// The small window that lives in the display settings' preview pane: the lips and the name,
// their colours fading while the pane shows it.

#include "startup/Embedding.h"
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

    // The pane it lives in, looked at on every colour tick: gone, the preview ends; grown or
    // shrunk, it is laid out again at the new size.
    modMain::HostWatch Pane;
};
