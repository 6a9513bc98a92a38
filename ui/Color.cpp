#include "ui/Color.h"

#include "ui/Error.h"

namespace ui {

Color PaletteColor(int index) {
    static constexpr Color palette[16] = {
        Rgb(0, 0, 0),       Rgb(0, 0, 128),   Rgb(0, 128, 0),   Rgb(0, 128, 128),
        Rgb(128, 0, 0),     Rgb(128, 0, 128), Rgb(128, 128, 0), Rgb(192, 192, 192),
        Rgb(128, 128, 128), Rgb(0, 0, 255),   Rgb(0, 255, 0),   Rgb(0, 255, 255),
        Rgb(255, 0, 0),     Rgb(255, 0, 255), Rgb(255, 255, 0), Rgb(255, 255, 255)};
    if (index < 0 || index > 15)
        throw Error(errors::InvalidArgument, "Invalid procedure call or argument");
    return palette[index];
}

} // namespace ui
