#include "ui/Timer.h"

#include "ui/Dispatch.h"
#include "ui/win32/Native.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <vector>

namespace ui {

struct Timer::Impl {
    UINT_PTR id = 0;
    int interval = 0;
    bool enabled = false;
    bool ticking = false;
};

namespace {

LRESULT CALLBACK TimerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A message-only window that receives the ticks. Timers of one interval share one system timer,
// a beat: a process showing several windows, each with its own timers, wakes once a period
// however many there are. Ids are never reused, so a tick still queued for a timer or beat that
// is gone finds nothing.
class TimerWindow {
public:
    TimerWindow() : window_(L"MoondialTimers", TimerProcedure) {}
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

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

    // The timer ticks with the others of its interval from the beat's next tick on; the first
    // of an interval starts the beat.
    void Join(UINT_PTR id, int interval) {
        Beat& beat = beats_[interval];
        if (beat.members.empty()) {
            beat.id = ++last_;
            if (!asleep_ &&
                !SetTimer(window_.Get(), beat.id, static_cast<UINT>(interval), nullptr)) {
                beats_.erase(interval);
                win32::FailLastError();
            }
        }
        beat.members.push_back(id);
    }
    void Leave(UINT_PTR id, int interval) {
        const auto found = beats_.find(interval);
        if (found == beats_.end())
            return;
        auto& members = found->second.members;
        members.erase(std::remove(members.begin(), members.end(), id), members.end());
        if (members.empty()) {
            KillTimer(window_.Get(), found->second.id);
            beats_.erase(found);
        }
    }
    // While the display is off every beat stops; back on, each starts again and ticks at once,
    // so that clocks show the time without waiting a period.
    void Sleep(bool asleep) {
        if (asleep == asleep_)
            return;
        asleep_ = asleep;
        std::vector<UINT_PTR> woken;
        for (auto& [interval, beat] : beats_) {
            if (asleep) {
                KillTimer(window_.Get(), beat.id);
            } else {
                SetTimer(window_.Get(), beat.id, static_cast<UINT>(interval), nullptr);
                woken.push_back(beat.id);
            }
        }
        for (UINT_PTR id : woken)
            PostMessageW(window_.Get(), WM_TIMER, id, 0);
    }
    bool Asleep() const { return asleep_; }

    // The timers a beat's tick is for, in the order they joined; none for an unknown tick.
    std::vector<UINT_PTR> Members(UINT_PTR beatId) const {
        for (const auto& [interval, beat] : beats_)
            if (beat.id == beatId)
                return beat.members;
        return {};
    }

private:
    struct Beat {
        UINT_PTR id = 0;
        std::vector<UINT_PTR> members;
    };
    win32::MessageWindow window_;
    std::unordered_map<UINT_PTR, Entry> timers_;
    std::map<int, Beat> beats_;
    UINT_PTR last_ = 0;
    bool asleep_ = false;
};

TimerWindow& Timers() {
    static TimerWindow timers;
    return timers;
}

void Tick(UINT_PTR id) {
    const TimerWindow::Entry* entry = Timers().Find(id);
    // One tick at a time: a modal loop inside the handler delivers no ticks of this timer.
    if (!entry || entry->impl->ticking || !entry->impl->enabled)
        return;
    Timer::Impl& impl = *entry->impl;
    impl.ticking = true;
    const auto handler = entry->timer->OnTick; // the handler may destroy the timer
    Dispatch(handler);
    if (Timers().Find(id))
        impl.ticking = false;
}

LRESULT CALLBACK TimerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER || Timers().Asleep()) // a tick queued before the display went off
        return DefWindowProcW(window, message, wParam, lParam);
    // Each handler may stop, start or destroy any timer: each is looked up again in turn.
    for (UINT_PTR id : Timers().Members(wParam))
        Tick(id);
    return 0;
}

} // namespace

void win32::DisplayAsleep(bool asleep) {
    Timers().Sleep(asleep);
}

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
    if (enabled)
        Timers().Join(impl_->id, impl_->interval);
    else
        Timers().Leave(impl_->id, impl_->interval);
    impl_->enabled = enabled;
}

bool Timer::Enabled() const {
    return impl_->enabled;
}
int Timer::Interval() const {
    return impl_->interval;
}

} // namespace ui
