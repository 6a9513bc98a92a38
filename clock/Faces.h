#pragma once
// The hand styles of the three clock faces.

#include "clock/Hands.h"

namespace clockface {

// The plain clock and the alarm clock: black minute and hour hands, a thin red second hand.
FaceStyle ClassicFace();

// The lips: the program-wide lips colours; the hour hand keeps the minute hand's width.
FaceStyle LipsFace();

} // namespace clockface
