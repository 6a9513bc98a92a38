#include "ui/SystemClock.h"

#include <chrono>
#include <ctime>

namespace ui {

LocalTime SystemNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    // localtime, not localtime_r: glibc looks at the zone again on each call of this one.
    const std::tm local = *std::localtime(&seconds);
    return LocalTimeOf(local.tm_hour, local.tm_min, local.tm_sec,
                       duration<double>(now - system_clock::from_time_t(seconds)).count());
}

} // namespace ui
