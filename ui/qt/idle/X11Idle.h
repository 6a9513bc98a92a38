#pragma once
// The X server's own idle time (MIT-SCREEN-SAVER): asked again when the timeout can next be
// reached, and each second while the user is away.

#include "ui/qt/idle/Source.h"

#include <chrono>
#include <memory>

namespace ui::idle {

class X11Idle : public Source {
public:
    // Idle after timeout without input, Back at the next input, Gone with the server. Null
    // without an X display or the extension.
    static std::unique_ptr<X11Idle> Find(std::chrono::milliseconds timeout, Report report);
};

} // namespace ui::idle
