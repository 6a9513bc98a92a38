#include "ui/Outside.h"

#include "ui/Application.h"
#include "ui/InstanceMark.h"
#include "ui/System.h"
#include "ui/SystemClock.h"

#include <cstdio>

namespace ui {

namespace {

void ShowMessageBox(const std::string& text, int style, const std::string& title) {
    // A program drawing on a locked screen says it where the daemon keeps it.
    if (app::MessageBoxesOff()) {
        std::fprintf(stderr, "moondial: %s\n%s\n", title.c_str(), text.c_str());
        return;
    }
    sys::ShowMessageBox(text, style, title);
}

bool OtherInstanceHoldsMark() {
    // Taken at the first question and held until the process ends.
    static const InstanceMark mark;
    return !mark.Held();
}

} // namespace

Outside RealWorld() {
    Outside world;
    world.ShowMessage = ShowMessageBox;
    world.CommandLine = sys::ArgumentText;
    world.Arguments = sys::ArgumentList;
    world.AnotherInstanceRunning = OtherInstanceHoldsMark;
    world.Now = SystemNow;
    world.ChooseFile = sys::ChooseFileInDialog;
    world.OpenUrl = sys::OpenInBrowser;
    world.Monitors = screen::SystemMonitors;
    world.EndProcess = sys::EndNow;
    return world;
}

Outside& World() {
    static Outside world = RealWorld();
    return world;
}

} // namespace ui
