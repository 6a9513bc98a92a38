#include "ui/Timer.h"

#include "ui/Dispatch.h"
#include "ui/win32/Native.h"

#include <unordered_map>

namespace ui {

struct Timer::Impl {
    UINT_PTR id = 0;
    int interval = 0;
    bool enabled = false;
    bool ticking = false;
};

namespace {

LRESULT CALLBACK TimerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A message-only window that receives every timer's ticks. Ids are never reused, so a tick
// still queued for a timer that is gone finds nothing.
class TimerWindow {
public:
    TimerWindow()
        : class_([] {
              WNDCLASSEXW classInfo{};
              classInfo.lpfnWndProc = TimerProcedure;
              classInfo.lpszClassName = L"MoondialTimers";
              return classInfo;
          }()) {
        window_ = CreateWindowExW(0, class_.Name(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (!window_)
            win32::FailLastError();
    }
    ~TimerWindow() { DestroyWindow(window_); }
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

    HWND Window() const { return window_; }
    struct Entry {
        Timer* timer;
        Timer::Impl* impl;
    };
    UINT_PTR Add(Timer& timer, Timer::Impl& impl) {
        timers_[++last_] = {&timer, &impl};
        return last_;
    }
    void Remove(UINT_PTR id) { timers_.erase(id); }
    const Entry* Find(UINT_PTR id) const {
        const auto found = timers_.find(id);
        return found == timers_.end() ? nullptr : &found->second;
    }

private:
    win32::WindowClass class_;
    HWND window_ = nullptr;
    std::unordered_map<UINT_PTR, Entry> timers_;
    UINT_PTR last_ = 0;
};

TimerWindow& Timers() {
    static TimerWindow timers;
    return timers;
}

LRESULT CALLBACK TimerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER)
        return DefWindowProcW(window, message, wParam, lParam);
    const UINT_PTR id = wParam;
    const TimerWindow::Entry* entry = Timers().Find(id);
    // One tick at a time: a modal loop inside the handler delivers no ticks of this timer.
    if (!entry || entry->impl->ticking)
        return 0;
    Timer::Impl& impl = *entry->impl;
    impl.ticking = true;
    const auto handler = entry->timer->OnTick; // the handler may destroy the timer
    Dispatch(handler);
    if (Timers().Find(id))
        impl.ticking = false;
    return 0;
}

} // namespace

Timer::Timer(Form& /*owner*/, int intervalMilliseconds, bool enabled)
    : impl_(std::make_unique<Impl>()) {
    impl_->interval = intervalMilliseconds;
    impl_->id = Timers().Add(*this, *impl_);
    SetEnabled(enabled);
}

Timer::~Timer() {
    SetEnabled(false);
    Timers().Remove(impl_->id);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == impl_->enabled)
        return;
    if (enabled) {
        if (!SetTimer(Timers().Window(), impl_->id, static_cast<UINT>(impl_->interval), nullptr))
            win32::FailLastError();
    } else {
        KillTimer(Timers().Window(), impl_->id);
    }
    impl_->enabled = enabled;
}

bool Timer::Enabled() const {
    return impl_->enabled;
}
int Timer::Interval() const {
    return impl_->interval;
}

} // namespace ui
