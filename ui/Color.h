#pragma once
// Colours as RGB triples, and the 16-colour palette the program picks hand colours from.

#include <cstdint>

namespace ui {

struct Color {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend constexpr bool operator==(Color, Color) = default;
};

constexpr Color Rgb(int red, int green, int blue) {
    return {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
            static_cast<std::uint8_t>(blue)};
}

constexpr Color Black = Rgb(0, 0, 0);

// Index 0 to 15 of the palette (0 black, 7 light grey, 8 grey, 12 bright red, ...).
// Any other index fails with errors::InvalidArgument.
Color PaletteColor(int index);

} // namespace ui
