#pragma once
// The setup dialog: which picture the saver shows, and the user's own picture file.

#include "setup/frmAbout.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

#include <array>
#include <optional>

class frmSetup {
public:
    frmSetup();

    // Loads the dialog (its Form_Load runs first) and shows it, modeless.
    void Show() { Form.Show(); }

    ui::Form Form;
    ui::PictureBox Image1;
    std::array<ui::OptionButton, 4> optScreenSaver;
    ui::Label lbl0; // lbl(0)
    ui::TextBox txtFullPath;
    ui::PushButton cmdBrowse;
    ui::Line Line2;
    ui::PictureButton cmdAbout;
    ui::PictureButton cmdExit;
    ui::PictureBox picCustom;

    void Form_Load();
    void Form_Unload();
    void optScreenSaver_Click(int index);
    void cmdBrowse_Click();
    void cmdAbout_Click();
    void cmdExit_Click();

    // The About box, made when it is first asked for.
    std::optional<frmAbout> About;

private:
    // The label, the path box and Browse, shown and hidden together.
    void ShowPathControls(bool shown);
    // Clips a button at the foot of the dialog to its rounded bar.
    static void RoundOutline(ui::PictureButton& button);
};

namespace setup {

// The option buttons list the types in the order of the screen, not of their numbers.
int SaverTypeOfOption(int index);
// The option of a saver type; nothing for a number that is no type.
std::optional<int> OptionOfSaverType(int type);

} // namespace setup
