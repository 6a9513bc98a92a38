#pragma once
// The machine's local time, for the backends' real world.

#include "ui/Outside.h"

namespace ui {

// The local time as the system knows it at this moment, its time zone as it is now: a zone the
// user changes while the program runs shows at the next reading. Defined by each backend.
LocalTime SystemNow();

// A clock's reading in the program's form; a leap second (60) stays on the dial.
LocalTime LocalTimeOf(int hour, int minute, int second, double fractionOfSecond);

} // namespace ui
