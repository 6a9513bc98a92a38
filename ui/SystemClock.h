#pragma once
// The machine's local time, for the backends' real world.

#include "ui/Outside.h"

namespace ui {

LocalTime SystemNow();

} // namespace ui
