#include "ui/SystemClock.h"

namespace ui {

LocalTime LocalTimeOf(int hour, int minute, int second, double fractionOfSecond) {
    LocalTime time;
    time.Hour = hour;
    time.Minute = minute;
    time.Second = second < 60 ? second : 59;
    time.SecondsSinceMidnight =
        time.Hour * 3600.0 + time.Minute * 60.0 + time.Second + fractionOfSecond;
    return time;
}

} // namespace ui
