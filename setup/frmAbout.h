#pragma once
// The About box: the banner, the maker's logo, the version, the home page and the notices.

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"

#include <string>

class frmAbout {
public:
    // owner: the setup dialog, which comes back when the box closes.
    explicit frmAbout(ui::Form& owner);

    // Loads the box (its Form_Load runs first; its failures reach the caller) and shows it.
    void Show() { Form.Show(); }

    ui::Form Form;
    ui::PictureButton cmdExit; // first, so that it has the focus when the box opens
    ui::PictureButton cmdNavitgate;
    ui::PictureBox Image1;
    ui::PictureBox Image2;
    ui::Label lbl0; // lbl(0)
    ui::Label lbl1; // lbl(1)
    ui::Line Line1_0;
    ui::Line Line1_1;
    ui::Label lblCopyright;
    ui::Label lblDisclaimer;

    void Form_Load();
    void Form_Unload();
    void cmdNavitgate_Click();
    void cmdExit_Click();

private:
    ui::Form& owner_;
};

namespace setup {

// "2.01" for version 2.0.1: the major number, a point, then the minor and the revision.
std::string VersionText(int major, int minor, int revision);

// The home page, as the browser is given it.
std::string HomePageAddress();

} // namespace setup
