#include "ui/Timer.h"

#include "ui/Dispatch.h"

#include <QPointer>
#include <QTimer>

namespace ui {

struct Timer::Impl {
    QTimer timer;
    bool ticking = false;
};

Timer::Timer(Form& /*owner*/, int intervalMilliseconds, bool enabled)
    : impl_(std::make_unique<Impl>()) {
    impl_->timer.setInterval(intervalMilliseconds);
    impl_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] {
        // One tick at a time: a message box inside the handler runs an event loop that would
        // deliver this timer's next ticks into it, one report stacked on the other.
        if (impl_->ticking)
            return;
        impl_->ticking = true;
        const QPointer<QTimer> alive(&impl_->timer);
        const auto handler = OnTick; // the handler may destroy the timer
        Dispatch(handler);
        if (alive)
            impl_->ticking = false;
    });
    SetEnabled(enabled);
}

Timer::~Timer() = default;

void Timer::SetEnabled(bool enabled) {
    if (enabled && !impl_->timer.isActive())
        impl_->timer.start();
    else if (!enabled)
        impl_->timer.stop();
}

bool Timer::Enabled() const {
    return impl_->timer.isActive();
}
int Timer::Interval() const {
    return impl_->timer.interval();
}

} // namespace ui
