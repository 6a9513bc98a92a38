#include "ui/Application.h"

#include <vector>

namespace ui::app {

namespace {
std::vector<std::shared_ptr<void>>& Kept() {
    static std::vector<std::shared_ptr<void>> windows;
    return windows;
}
} // namespace

void KeepWindow(std::shared_ptr<void> window) {
    Kept().push_back(std::move(window));
}

void ReleaseWindows() {
    // Last opened, first destroyed, as a stack of owned windows unwinds.
    auto& windows = Kept();
    while (!windows.empty())
        windows.pop_back();
}

} // namespace ui::app
