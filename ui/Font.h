#pragma once
// A control's font: a face name, a size in points and the weight.

#include <string>

namespace ui {

struct Font {
    std::string Name = "Arial";
    double Points = 9;
    bool Bold = false;
};

} // namespace ui
