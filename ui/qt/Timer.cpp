#include "ui/Timer.h"

#include "ui/Dispatch.h"
#include "ui/qt/Widgets.h"

#include <QTimer>
#include <algorithm>
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

// Timers of one interval share one Qt timer, a beat: a process showing several windows, each
// with its own timers, wakes once a period however many there are. A timer joins the beat from
// its next tick on.
class Beats {
public:
    void Join(Timer::Impl& timer) {
        Beat& beat = beats_[timer.interval];
        if (!beat.clock) {
            beat.clock = std::make_unique<QTimer>();
            beat.clock->setInterval(timer.interval);
            beat.clock->setTimerType(Qt::PreciseTimer);
            const int interval = timer.interval;
            QObject::connect(beat.clock.get(), &QTimer::timeout,
                             [this, interval] { Tick(interval); });
        }
        if (beat.members.empty() && !asleep_)
            beat.clock->start();
        beat.members.push_back(&timer);
    }
    void Leave(Timer::Impl& timer) {
        const auto found = beats_.find(timer.interval);
        if (found == beats_.end())
            return;
        auto& members = found->second.members;
        members.erase(std::remove(members.begin(), members.end(), &timer), members.end());
        if (members.empty())
            found->second.clock->stop(); // kept, stopped: this may be its own tick
    }
    // While the display is off every beat stops; back on, each starts again and ticks at once,
    // so that clocks show the time without waiting a period.
    void Sleep(bool asleep) {
        if (asleep == asleep_)
            return;
        asleep_ = asleep;
        for (auto& [interval, beat] : beats_) {
            if (beat.members.empty())
                continue;
            if (asleep) {
                beat.clock->stop();
            } else {
                beat.clock->start();
                QTimer::singleShot(0, beat.clock.get(), [this, at = interval] {
                    if (!asleep_)
                        Tick(at);
                });
            }
        }
    }

    bool Has(const Timer::Impl* timer, int interval) const {
        const auto found = beats_.find(interval);
        return found != beats_.end() &&
               std::find(found->second.members.begin(), found->second.members.end(), timer) !=
                   found->second.members.end();
    }

private:
    void Tick(int interval) {
        // Each handler may stop, start or destroy any timer: each is looked up again in turn.
        const std::vector<Timer::Impl*> members = beats_[interval].members;
        for (Timer::Impl* timer : members) {
            // One tick at a time: a message box inside the handler runs an event loop that
            // would deliver this timer's next ticks into it, one report stacked on the other.
            if (!Has(timer, interval) || timer->ticking)
                continue;
            timer->ticking = true;
            const auto handler = timer->owner->OnTick; // the handler may destroy the timer
            Dispatch(handler);
            if (Has(timer, interval))
                timer->ticking = false;
        }
    }

    struct Beat {
        std::unique_ptr<QTimer> clock;
        std::vector<Timer::Impl*> members;
    };
    std::map<int, Beat> beats_;
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
