#include "ui/SystemClock.h"

#include <chrono>
#include <ctime>

namespace ui {

LocalTime SystemNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const std::tm local = *std::localtime(&seconds);
    const double fraction = duration<double>(now - system_clock::from_time_t(seconds)).count();
    LocalTime time;
    time.Hour = local.tm_hour;
    time.Minute = local.tm_min;
    time.Second = local.tm_sec < 60 ? local.tm_sec : 59; // a leap second stays on the dial
    time.SecondsSinceMidnight = time.Hour * 3600.0 + time.Minute * 60.0 + time.Second + fraction;
    return time;
}

} // namespace ui
