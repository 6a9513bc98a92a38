#pragma once
// The size of the screen the program's windows appear on.

namespace ui::screen {

double WidthTwips();
double HeightTwips();

} // namespace ui::screen
