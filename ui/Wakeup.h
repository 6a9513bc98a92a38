#pragma once
// The seam under the timers' scheduler (ui/Timer.cpp): what each backend gives it, a periodic
// wakeup of the event loop, a call posted to the loop and the steady clock; and what a backend
// tells it, the display's power.

#include <chrono>
#include <functional>
#include <memory>

namespace ui {

// One periodic system timer.
class Wakeup {
public:
    explicit Wakeup(std::function<void()> tick);
    ~Wakeup();
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;

    // A tick every `period` ms from now until stopped or started again; throws ui::Error when
    // the system refuses a timer.
    void Start(int period);
    void Stop();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// Runs `call` once from the event loop, after the events already waiting.
void PostToLoop(std::function<void()> call);

// The steady clock's time, read without a call into the C++ library: every page of code a tick
// touches costs again after each wakeup.
std::chrono::steady_clock::time_point SteadyNow();

// While the display is off every timer sleeps; back on, each ticks at once.
void DisplayAsleep(bool asleep);

} // namespace ui
