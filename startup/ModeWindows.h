#pragma once

#include <cstdint>
#include <optional>
// The windows that Main opens, one per mode.

namespace modMain {

// Shows frmSetup without waiting for it; owned by the given window (the display settings'),
// when that is one.
void ShowSetupDialog(std::optional<std::int32_t> owner);

// Shows a frmMoondialMain on every monitor without waiting for them; each load handler runs as
// part of its showing.
void ShowSaverWindow();

} // namespace modMain
