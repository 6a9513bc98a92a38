#include "ui/SystemClock.h"

#include <windows.h>

namespace ui {

LocalTime SystemNow() {
    // The C runtime's localtime reads the time zone once per process; Windows' own local time
    // follows a change of zone (the user's, or Windows' while travelling) at once.
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTimeOf(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds / 1000.0);
}

} // namespace ui
