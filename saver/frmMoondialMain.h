#pragma once
// The full-screen saver window: one picture drifting over black, with live clock hands, until
// the first sign of the user.

#include "clock/Hands.h"
#include "startup/Embedding.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"

#include <cstdint>
#include <optional>
#include <string>

class frmMoondialMain {
public:
    frmMoondialMain();

    // Loads the window (its Form_Load runs first) and shows it, maximised.
    void Show() { Form.Show(); }

    // Runs the saver in another program's window instead (an X11 screen-saver daemon's):
    // filling it and following its size, not topmost, not ending on input (the daemon owns
    // input and the end), a picture's failure told in the window rather than a message box,
    // and the picture the path names rather than the stored one, when one is given.
    void ShowIn(ui::WindowHandle host, const std::optional<std::string>& picture);

    ui::Form Form;
    ui::PictureBox picCustom;
    ui::PictureBox picClock;
    ui::PictureBox picClockMovement;
    ui::PictureBox picAlarmClock;
    ui::PictureBox picAlarmClockMoveMent;
    ui::PictureBox picLips;
    ui::Timer tmrClock;
    ui::Timer tmrAlarmClock;
    ui::Timer tmrClockLips;
    ui::Timer tmrMove;

    // Set-up and layout.
    void Form_Load();
    void Form_Resize();

    // Input: any of it ends the program.
    void Form_MouseMove(float x, float y);
    void Form_Click();
    void Form_KeyDown();
    void Form_MouseDown();
    void Form_MouseWheel();
    void picCustom_Click();
    void picCustom_KeyPress();
    void picLips_KeyPress();
    void picClock_KeyPress();

    // Motion.
    void tmrMove_Timer();
    void MovePic(ui::PictureBox& pic);

    // Clock faces.
    void tmrClock_Timer();
    void tmrAlarmClock_Timer();
    void tmrClockLips_Timer();

    // The last pointer position recorded by the two-step mouse test; (0, 0) is "none".
    float LastMouseX = 0;
    std::int32_t LastMouseY = 0;

    // Position and step of the shown picture, in twips.
    std::int32_t PicLeft = 0;
    std::int32_t PicTop = 0;
    std::int32_t StepX = 0;
    std::int32_t StepY = 0;

    clockface::HandGeometry Hands;
    clockface::ClockReading Clock;
    std::optional<int> ClockLastSecond;
    std::optional<int> AlarmClockLastSecond;
    std::optional<int> LipsLastSecond;

    // Running in another program's window (ShowIn).
    bool Hosted = false;
    std::optional<std::string> PictureOverride;
    std::optional<ui::Label> lblWarning;
    std::optional<ui::Timer> tmrHost;
    modMain::HostWatch Host;

private:
    // Says what is wrong with the custom picture, in the window when hosted, else in a box.
    void CustomPictureWarning(const std::string& title, const std::string& what,
                              const std::string& path);
    // What every trapped routine of this window does before its report.
    void HideWindow() { Form.Hide(); }
};
