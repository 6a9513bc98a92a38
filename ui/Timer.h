#pragma once
// An interval timer owned by a form; its ticks run on the user-interface thread, one at a time.

#include <functional>
#include <memory>

namespace ui {

class Form;

class Timer {
public:
    Timer(Form& owner, int intervalMilliseconds, bool enabled);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetEnabled(bool enabled);
    bool Enabled() const;
    int Interval() const;

    std::function<void()> OnTick;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace ui
