#include "ui/Outside.h"

namespace ui {

Outside& World() {
    static Outside world = RealWorld();
    return world;
}

} // namespace ui

namespace ui::screen {

std::vector<Monitor> Monitors() {
    return World().Monitors();
}

} // namespace ui::screen
