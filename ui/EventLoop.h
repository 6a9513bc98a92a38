#pragma once
// The platform under app::Run (ui/Application.cpp): made ready for the program's windows before
// its main runs, and the loop that delivers their events.

#include <memory>

namespace ui {

class EventLoop {
public:
    // A command line that names another program's windows gets the display system those windows
    // belong to. `argc` and `argv` outlive the loop.
    EventLoop(int& argc, char** argv, bool namesOtherWindows);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Delivers events until the program ends; the process's exit code.
    int Exec();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace ui
