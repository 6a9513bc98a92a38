#include "ui/Outside.h"

namespace ui {

Outside& World() {
    static Outside world = RealWorld();
    return world;
}

} // namespace ui
