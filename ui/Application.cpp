#include "ui/Application.h"

#include "ui/Convert.h"
#include "ui/Error.h"
#include "ui/EventLoop.h"
#include "ui/FormList.h"
#include "ui/Services.h"

#include <vector>

namespace ui::app {

namespace {

std::vector<std::shared_ptr<void>>& Kept() {
    static std::vector<std::shared_ptr<void>> windows;
    return windows;
}

bool messageBoxesOff = false;

} // namespace

int Run(int argc, char** argv, void (*main)(), bool namesOtherWindows) {
    EventLoop loop(argc, argv, namesOtherWindows);
    int status = 0;
    try {
        main();
        if (forms::AnyLoaded())
            status = loop.Exec();
    } catch (const ProcessEnded&) {
    } catch (...) {
        ReportUntrapped();
    }
    ReleaseWindows();
    return status;
}

void KeepWindow(std::shared_ptr<void> window) {
    Kept().push_back(std::move(window));
}

void ReleaseWindows() {
    // Last opened, first destroyed, as a stack of owned windows unwinds.
    auto& windows = Kept();
    while (!windows.empty())
        windows.pop_back();
}

void KeepMessageBoxesOff() {
    messageBoxesOff = true;
}

bool MessageBoxesOff() {
    return messageBoxesOff;
}

void ReportUntrapped() {
    const Error failure = CurrentError();
    ShowMessage("Run-time error '" + ToText(failure.Number) + "':\r\n\r\n" + failure.Description,
                CriticalStyle, "Moondial");
    EndProgram();
}

} // namespace ui::app
