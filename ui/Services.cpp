#include "ui/Services.h"

#include <exception>

namespace ui {

void EndProgram() {
    World().EndProcess();
    std::terminate(); // only reached if a stand-in broke its promise not to return
}

} // namespace ui
