#pragma once
// The saver on every monitor: one window each, covering exactly that monitor at its scale,
// made and dropped as monitors come and go. Any input in any of them ends the program, and so
// every window at once.

#include "saver/frmMoondialMain.h"
#include "ui/Screen.h"

#include <memory>
#include <vector>

class SaverWindows {
public:
    SaverWindows() = default;
    ~SaverWindows();
    SaverWindows(const SaverWindows&) = delete;
    SaverWindows& operator=(const SaverWindows&) = delete;

    // Shows a window on each monitor, the primary's first, and follows the monitors from then.
    void Show();

    struct Shown {
        ui::screen::Monitor monitor;
        std::unique_ptr<frmMoondialMain> window;
    };
    const std::vector<Shown>& Windows() const { return windows_; }

private:
    // The windows made to match the monitors there are now.
    void Follow();

    std::vector<Shown> windows_;
};
