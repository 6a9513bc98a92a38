#pragma once
// What both floors draw once a second: white, with a black hand from the middle towards
// `second`, in 32-bit pixels.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

inline void DrawFace(std::vector<std::uint32_t>& pixels, int side, int second) {
    std::fill(pixels.begin(), pixels.end(), 0xffffffu);
    const double angle = second * 6 * M_PI / 180, radius = side * 0.45;
    for (int r = 0; r < radius; ++r) {
        const int x = side / 2 + static_cast<int>(std::lround(r * std::sin(angle)));
        const int y = side / 2 - static_cast<int>(std::lround(r * std::cos(angle)));
        pixels[static_cast<std::size_t>(y) * side + x] = 0;
    }
}
