#include "ui/Timer.h"

#include "ui/Dispatch.h"
#include "ui/qt/Widgets.h"

#include <QAbstractEventDispatcher>
#include <QTimer>
#include <QVarLengthArray>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
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

// A precise periodic timer that calls its owner straight from the timer event, without the
// signal a QTimer emits: the saver's motion ticks 33 times a second for hours.
class PeriodClock : public QObject {
public:
    explicit PeriodClock(std::function<void()> tick) : tick_(std::move(tick)) {}
    ~PeriodClock() override { stop(); }

    void setInterval(int milliseconds) {
        interval_ = milliseconds;
        if (id_)
            start(); // from now, at the new period
    }
    int interval() const { return interval_; }
    bool isActive() const { return id_ != 0; }
    int remainingTime() const {
        auto* dispatcher = QAbstractEventDispatcher::instance();
        return id_ && dispatcher ? std::max(0, dispatcher->remainingTime(id_)) : interval_;
    }
    void start() { start(interval_); }
    // The first tick after `first` ms, the next ones each interval() (once interval() is set
    // again), as QTimer::start(ms) would: the period becomes `first`.
    void start(int first) {
        stop();
        interval_ = first;
        id_ = startTimer(first, Qt::PreciseTimer);
    }
    void stop() {
        if (id_)
            killTimer(id_);
        id_ = 0;
    }

protected:
    void timerEvent(QTimerEvent*) override { tick_(); }

private:
    std::function<void()> tick_;
    int interval_ = 0;
    int id_ = 0;
};

// Timers of one interval share one Qt timer, a beat: a process showing several windows, each
// with its own timers, wakes once a period however many there are. A timer joins the beat from
// its next tick on.
//
// The shortest running beat carries the longer ones: each of those ticks in the carrier's first
// wakeup from half a carrier period before its time, at its own average rate. A saver moving its
// picture every 30 ms and looking at the clock every 100 ms wakes 33 times a second, not 43.
class Beats {
public:
    void Join(Timer::Impl& timer) {
        Beat& beat = beats_[timer.interval];
        if (!beat.clock) {
            const int interval = timer.interval;
            beat.clock = std::make_unique<PeriodClock>([this, interval] { Carry(interval); });
            beat.clock->setInterval(interval);
        }
        beat.members.push_back(&timer);
        Arrange();
    }
    void Leave(Timer::Impl& timer) {
        const auto found = beats_.find(timer.interval);
        if (found == beats_.end())
            return;
        auto& members = found->second.members;
        members.erase(std::remove(members.begin(), members.end(), &timer), members.end());
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
                QTimer::singleShot(0, beat.clock.get(), [this, at = interval] {
                    if (!asleep_)
                        Tick(at);
                });
    }

    bool Has(const Timer::Impl* timer, int interval) const {
        const auto found = beats_.find(interval);
        return found != beats_.end() &&
               std::find(found->second.members.begin(), found->second.members.end(), timer) !=
                   found->second.members.end();
    }

private:
    using Clock = std::chrono::steady_clock;
    // The steady clock's time, read in place: a tick calls nothing of the C++ library's own.
    static Clock::time_point Now() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return Clock::time_point(std::chrono::duration_cast<Clock::duration>(
            std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec)));
    }

    struct Beat {
        std::unique_ptr<PeriodClock> clock;
        std::vector<Timer::Impl*> members;
        bool carried = false;  // ticked in the carrier's wakeups, its own clock stopped
        Clock::time_point due; // while carried, its next tick
    };

    // Which beat runs on its own clock and which are carried, after any change.
    void Arrange() {
        const Clock::time_point now = Now();
        carried_.clear();
        const Beat* carrier = nullptr;
        for (const auto& [interval, beat] : beats_)
            if (!beat.members.empty() && !asleep_) {
                carrier = &beat; // the map is ordered: the shortest
                break;
            }
        for (auto& [interval, beat] : beats_) {
            if (beat.members.empty() || asleep_) {
                beat.clock->stop();
                beat.carried = false;
            } else if (&beat != carrier) {
                if (!beat.carried) // from the time its own clock would have ticked
                    beat.due = now + std::chrono::milliseconds(beat.clock->isActive()
                                                                   ? beat.clock->remainingTime()
                                                                   : interval);
                beat.clock->stop();
                beat.carried = true;
                carried_.emplace_back(interval, &beat);
            } else if (!beat.clock->isActive()) {
                // Its first tick where the carried one would have come, then its own period.
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(beat.due - now);
                beat.clock->start(beat.carried
                                      ? std::clamp<int>(static_cast<int>(left.count()), 0, interval)
                                      : interval);
                beat.carried = false;
            }
        }
    }

    // A wakeup of a beat's own clock: its timers, then the carried beats that are due.
    void Carry(int interval) {
        Beat& beat = beats_[interval];
        if (beat.clock->interval() != interval)
            beat.clock->setInterval(interval); // after a first tick at the carried time
        Tick(interval);
        const Clock::time_point soon = Now() + std::chrono::milliseconds(interval / 2);
        QVarLengthArray<int, 4> due; // no allocation in a tick
        for (auto& [other, carried] : carried_)
            if (carried->due <= soon) {
                carried->due += std::chrono::milliseconds(other);
                if (carried->due <= soon) // after a long tick: no catching up
                    carried->due = soon + std::chrono::milliseconds(other);
                due.push_back(other);
            }
        for (const int other : due)
            Tick(other);
    }

    void Tick(int interval) {
        // Each handler may stop, start or destroy any timer: each is looked up again in turn.
        const auto& live = beats_[interval].members;
        const QVarLengthArray<Timer::Impl*, 8> members(live.begin(), live.end());
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

    std::map<int, Beat> beats_; // a beat, once made, stays: carried_ points into it
    // The carried beats, as Arrange left them: a tick looks through these, not the whole map.
    std::vector<std::pair<int, Beat*>> carried_;
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
