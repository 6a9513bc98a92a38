#include "preview/frmPreview.h"
#include "ui/Services.h"

frmPreview::frmPreview()
    : imgLips(Form, 525, 75, 1665, 1020),
      lbl0(Form, 75, 1200, 2640, 315, "Moondial", ui::Alignment::Center),
      tmrColor(Form, 200, false) {
    Form.SetBorderStyle(ui::BorderStyle::None);
    Form.SetBackColor(ui::Black);
    Form.SetClientSize(2790, 1935);
    imgLips.SetBackColor(ui::Black);
    imgLips.SetPicture(ui::ResourcePicture("lips_small"));
    lbl0.SetFont({"Arial", 9, true});
    lbl0.SetTransparent();
    lbl0.SetForeColor(ui::Rgb(255, 255, 255));

    Form.OnLoad = [this] { Form_Load(); };
    Form.OnResize = [this] { Form_Resize(); };
    tmrColor.OnTick = [this] { tmrColor_Timer(); };
}

void frmPreview::Form_Load() {
    BlueStep = 5;
    BlueLevel = 0;
    RedStep = -5;
    RedLevel = 250;
    tmrColor.SetEnabled(true);
}

// Heights and tops stay: only the width follows the pane.
void frmPreview::Form_Resize() {
    const double width = Form.Width();
    lbl0.SetWidth(width - 5);
    imgLips.Move(width / 2 - imgLips.Width() / 2, imgLips.Top());
}

void frmPreview::tmrColor_Timer() {
    Pane.Check();
    if (BlueLevel > 245) {
        BlueStep = -5;
        RedStep = 5;
    }
    if (BlueLevel < 10) {
        BlueStep = 5;
        RedStep = -5;
    }
    BlueLevel += BlueStep;
    RedLevel += RedStep;
    Form.SetBackColor(ui::Rgb(0, 0, BlueLevel));
    lbl0.SetForeColor(ui::Rgb(RedLevel, 0, 0));
}
