#include "ui/Timer.h"

#include "ui/Dispatch.h"

#include <QTimer>

namespace ui {

struct Timer::Impl {
    QTimer timer;
};

Timer::Timer(Form& /*owner*/, int intervalMilliseconds, bool enabled)
    : impl_(std::make_unique<Impl>()) {
    impl_->timer.setInterval(intervalMilliseconds);
    impl_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Dispatch(OnTick); });
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
