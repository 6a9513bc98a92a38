#include "ui/Timer.h"

#include "ui/Dispatch.h"
#include "ui/Wakeup.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

namespace ui {

struct Timer::Impl {
    Timer* owner = nullptr;
    int interval = 0;
    bool enabled = false;
    bool ticking = false;
};

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A list kept on the stack while it is short: a tick allocates nothing.
template <class T> class ShortList {
public:
    void push_back(T value) {
        if (size_ < Few) {
            few_[size_] = value;
        } else {
            if (many_.empty())
                many_.assign(few_, few_ + Few);
            many_.push_back(value);
        }
        ++size_;
    }
    const T* begin() const { return size_ <= Few ? few_ : many_.data(); }
    const T* end() const { return begin() + size_; }

private:
    static constexpr std::size_t Few = 16;
    T few_[Few];
    std::vector<T> many_;
    std::size_t size_ = 0;
};

// Timers of one interval share one wakeup, a beat: a process showing several windows, each with
// its own timers, wakes once a period however many there are. A timer joins the beat from its
// next tick on.
//
// The shortest running beat carries the longer ones: each of those ticks in the carrier's first
// wakeup from half a carrier period before its time, at its own average rate. A saver moving its
// picture every 30 ms and looking at the clock every 100 ms wakes 33 times a second, not 43.
class Beats {
public:
    void Join(Timer::Impl& timer) {
        Beat& beat = beats_[timer.interval];
        if (!beat.wakeup) {
            beat.interval = timer.interval;
            beat.wakeup = std::make_unique<Wakeup>([this, at = &beat] { Carry(*at); });
        }
        beat.members.push_back(&timer);
        try {
            Arrange();
        } catch (...) {
            Drop(beat, timer);
            throw;
        }
    }
    void Leave(Timer::Impl& timer) {
        const auto found = beats_.find(timer.interval);
        if (found == beats_.end())
            return;
        Drop(found->second, timer);
        Arrange(); // a beat left empty is kept, stopped: this may be its own tick
    }
    // While the display is off every beat stops; back on, each starts again and ticks at once,
    // so that clocks show the time without waiting a period.
    void Sleep(bool asleep) {
        if (asleep == asleep_)
            return;
        asleep_ = asleep;
        Arrange();
        if (asleep)
            return;
        for (auto& [interval, beat] : beats_)
            if (!beat.members.empty())
                PostToLoop([this, at = &beat] {
                    if (!asleep_)
                        Tick(*at);
                });
    }

private:
    struct Beat {
        int interval = 0;
        std::unique_ptr<Wakeup> wakeup;
        std::vector<Timer::Impl*> members;
        bool running = false;  // on its own wakeup
        int period = 0;        // its wakeup's, which only the first tick after a carry differs from
        bool carried = false;  // ticked in the carrier's wakeups, its own wakeup stopped
        Clock::time_point due; // its next tick, on its own wakeup or carried
    };

    static bool Has(const Beat& beat, const Timer::Impl* timer) {
        return std::find(beat.members.begin(), beat.members.end(), timer) != beat.members.end();
    }
    static void Drop(Beat& beat, Timer::Impl& timer) {
        beat.members.erase(std::remove(beat.members.begin(), beat.members.end(), &timer),
                           beat.members.end());
    }
    static void Stop(Beat& beat) {
        beat.wakeup->Stop();
        beat.running = false;
    }

    // Which beat runs on its own wakeup and which are carried, after any change.
    void Arrange() {
        const Clock::time_point now = SteadyNow();
        carried_.clear();
        const Beat* carrier = nullptr;
        for (const auto& [interval, beat] : beats_)
            if (!beat.members.empty() && !asleep_) {
                carrier = &beat; // the map is ordered: the shortest
                break;
            }
        for (auto& [interval, beat] : beats_) {
            if (beat.members.empty() || asleep_) {
                Stop(beat);
                beat.carried = false;
            } else if (&beat != carrier) {
                if (!beat.carried && !beat.running) // else from when its own would have ticked
                    beat.due = now + milliseconds(interval);
                Stop(beat);
                beat.carried = true;
                carried_.push_back(&beat);
            } else if (!beat.running) {
                // Its first tick where the carried one would have come, then its own period.
                const auto left = std::chrono::duration_cast<milliseconds>(beat.due - now);
                const int first = beat.carried
                                      ? std::clamp<int>(static_cast<int>(left.count()), 0, interval)
                                      : interval;
                beat.wakeup->Start(first);
                beat.period = first;
                beat.running = true;
                beat.carried = false;
                beat.due = now + milliseconds(first);
            }
        }
    }

    // A wakeup of a beat's own: its timers, then the carried beats that are due.
    void Carry(Beat& beat) {
        if (asleep_ || !beat.running) // a tick the system queued before it stopped
            return;
        if (beat.period != beat.interval) { // after a first tick at the carried time
            beat.wakeup->Start(beat.interval);
            beat.period = beat.interval;
        }
        const Clock::time_point now = SteadyNow();
        beat.due = now + milliseconds(beat.interval);
        Tick(beat);
        const Clock::time_point soon = SteadyNow() + milliseconds(beat.interval / 2);
        ShortList<Beat*> due;
        for (Beat* carried : carried_)
            if (carried->due <= soon) {
                carried->due += milliseconds(carried->interval);
                if (carried->due <= soon) // after a long tick: no catching up
                    carried->due = soon + milliseconds(carried->interval);
                due.push_back(carried);
            }
        for (Beat* carried : due)
            Tick(*carried);
    }

    void Tick(Beat& beat) {
        // Each handler may stop, start or destroy any timer: each is looked up again in turn.
        ShortList<Timer::Impl*> members;
        for (Timer::Impl* timer : beat.members)
            members.push_back(timer);
        for (Timer::Impl* timer : members) {
            // One tick at a time: a message box inside the handler runs an event loop that
            // would deliver this timer's next ticks into it, one report stacked on the other.
            if (!Has(beat, timer) || timer->ticking)
                continue;
            timer->ticking = true;
            const auto handler = timer->owner->OnTick; // the handler may destroy the timer
            Dispatch(handler);
            if (Has(beat, timer))
                timer->ticking = false;
        }
    }

    std::map<int, Beat> beats_; // a beat, once made, stays: wakeups and carried_ point into it
    // The carried beats, as Arrange left them: a tick looks through these, not the whole map.
    std::vector<Beat*> carried_;
    bool asleep_ = false;
};

Beats& TheBeats() {
    static Beats* beats = new Beats; // outlives every timer, to the process's end
    return *beats;
}

} // namespace

void DisplayAsleep(bool asleep) {
    TheBeats().Sleep(asleep);
}

Timer::Timer(Form& /*owner*/, int intervalMilliseconds, bool enabled)
    : impl_(std::make_unique<Impl>()) {
    impl_->owner = this;
    impl_->interval = intervalMilliseconds;
    SetEnabled(enabled);
}

Timer::~Timer() {
    SetEnabled(false);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == impl_->enabled)
        return;
    if (enabled)
        TheBeats().Join(*impl_);
    else
        TheBeats().Leave(*impl_);
    impl_->enabled = enabled;
}

bool Timer::Enabled() const {
    return impl_->enabled;
}
int Timer::Interval() const {
    return impl_->interval;
}

} // namespace ui
