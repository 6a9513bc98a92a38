#include "clock/Faces.h"

#include "startup/modMain.h"

namespace clockface {

FaceStyle ClassicFace() {
    return {{2, 0}, {3, 0}, {1, 12}};
}

FaceStyle LipsFace() {
    return {{5, modMain::LipsMinuteHandColor},
            {std::nullopt, modMain::LipsHourHandColor},
            {2, modMain::LipsSecondHandColor}};
}

} // namespace clockface
