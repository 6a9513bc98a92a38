#include "saver/SaverWindows.h"

#include <algorithm>

SaverWindows::~SaverWindows() {
    ui::screen::OnMonitorsChanged(nullptr);
}

void SaverWindows::Show() {
    Follow();
    ui::screen::OnMonitorsChanged([this] { Follow(); });
}

void SaverWindows::Follow() {
    std::vector<ui::screen::Monitor> monitors = ui::screen::Monitors();
    if (monitors.empty()) // between two arrangements: the windows stay until the next
        return;
    // The monitors gone take their windows with them; each of the others keeps its own.
    std::vector<Shown> kept;
    for (Shown& shown : windows_) {
        const auto same = std::find_if(monitors.begin(), monitors.end(),
                                       [&](const auto& m) { return m.Name == shown.monitor.Name; });
        if (same == monitors.end())
            continue;
        if (!(*same == shown.monitor)) {
            shown.monitor = *same;
            shown.window->Form.SetMonitor(*same);
        }
        kept.push_back(std::move(shown));
        monitors.erase(same);
    }
    windows_ = std::move(kept);
    // A window for each monitor new here, shown at once; a failure of its load ends the program.
    for (const ui::screen::Monitor& monitor : monitors) {
        auto window = std::make_unique<frmMoondialMain>();
        window->Form.SetMonitor(monitor);
        frmMoondialMain& shown = *window;
        windows_.push_back({monitor, std::move(window)});
        shown.Show();
    }
}
