#include "saver/frmMoondialMain.h"
#include "ui/Services.h"
#include "ui/Units.h"

// The first pointer report after the window shows is where the pointer already was; only a
// second report at another place is the user. A report at the recorded place clears the record.
void frmMoondialMain::Form_MouseMove(float x, float y) {
    if (LastMouseX == 0 && LastMouseY == 0) {
        LastMouseX = x;
        LastMouseY = static_cast<std::int32_t>(ui::RoundHalfEven(y));
        return;
    }
    if (x != LastMouseX || y != static_cast<float>(LastMouseY))
        ui::EndProgram();
    LastMouseX = 0;
    LastMouseY = 0;
}

void frmMoondialMain::Form_Click() {
    ui::EndProgram();
}

// Keys, Tab included, end the saver wherever the focus happens to be; so does every mouse
// button and the wheel, wherever the pointer is.
void frmMoondialMain::Form_KeyDown() {
    ui::EndProgram();
}
void frmMoondialMain::Form_MouseDown() {
    ui::EndProgram();
}
void frmMoondialMain::Form_MouseWheel() {
    ui::EndProgram();
}

void frmMoondialMain::picCustom_Click() {
    ui::EndProgram();
}
void frmMoondialMain::picCustom_KeyPress() {
    ui::EndProgram();
}
void frmMoondialMain::picLips_KeyPress() {
    ui::EndProgram();
}
void frmMoondialMain::picClock_KeyPress() {
    ui::EndProgram();
}
