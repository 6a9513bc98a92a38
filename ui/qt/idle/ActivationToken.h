#pragma once
// A token from the Wayland compositor that lets the next window of the program take the focus.

#include <string>

namespace ui::idle {

// xdg-activation's token, passed on as XDG_ACTIVATION_TOKEN; empty where there is none.
std::string ActivationToken();

} // namespace ui::idle
