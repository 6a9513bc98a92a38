#include "ui/Screen.h"

#include "ui/Outside.h"

namespace ui::screen {

std::vector<Monitor> Monitors() {
    return World().Monitors();
}

} // namespace ui::screen
