#pragma once
// The windows that Main opens, one per mode.

namespace modMain {

// Shows frmSetup without waiting for it.
void ShowSetupDialog();

// Shows frmMoondialMain without waiting for it; its load handler runs as part of the showing.
void ShowSaverWindow();

} // namespace modMain
