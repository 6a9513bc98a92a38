#include "ui/Wakeup.h"

#include <QObject>
#include <QTimer>
#include <ctime>

namespace ui {

// A precise Qt timer that calls its owner straight from the timer event, without the signal a
// QTimer emits: the saver's motion ticks 33 times a second for hours.
struct Wakeup::Impl : QObject {
    explicit Impl(std::function<void()> call) : tick(std::move(call)) {}
    ~Impl() override { Stop(); }

    void Start(int milliseconds) {
        Stop();
        id = startTimer(milliseconds, Qt::PreciseTimer);
    }
    void Stop() {
        if (id)
            killTimer(id);
        id = 0;
    }
    void timerEvent(QTimerEvent*) override { tick(); }

    std::function<void()> tick;
    int id = 0;
};

Wakeup::Wakeup(std::function<void()> tick) : impl_(std::make_unique<Impl>(std::move(tick))) {}
Wakeup::~Wakeup() = default;

void Wakeup::Start(int period) {
    impl_->Start(period);
}

void Wakeup::Stop() {
    impl_->Stop();
}

void PostToLoop(std::function<void()> call) {
    QTimer::singleShot(0, std::move(call));
}

std::chrono::steady_clock::time_point SteadyNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    using Clock = std::chrono::steady_clock;
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(
        std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec)));
}

} // namespace ui
