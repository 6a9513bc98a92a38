#pragma once
// A window of the program living in a window of another program: the display settings'
// preview pane, or the window an X11 screen-saver daemon gives its hack.

#include "ui/WindowCalls.h"

namespace modMain {

// Makes the window a child of the host, filling it, and shows it without activating it: the
// style becomes a child's first, and the window shows only with the last call, already in
// place. The calls' results are not looked at. Returns the host's inner area.
ui::Rect PlaceInWindow(ui::WindowHandle window, ui::WindowHandle host);

// Keeps a placed window at its host's size, and ends the program when the host is gone (a
// window that no host will ever destroy would be a process left behind).
class HostWatch {
public:
    void Watch(ui::WindowHandle window, ui::WindowHandle host, const ui::Rect& area) {
        window_ = window;
        host_ = host;
        area_ = area;
    }
    // Looks once; nothing to do before Watch.
    void Check();

private:
    ui::WindowHandle window_ = 0, host_ = 0;
    ui::Rect area_;
};

} // namespace modMain
