#pragma once
// What both floors share: the picture they put once a second and the way it moves.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// White, with a black hand from the middle towards `second`, in 32-bit pixels.
inline void DrawFace(std::vector<std::uint32_t>& pixels, int side, int second) {
    std::fill(pixels.begin(), pixels.end(), 0xffffffu);
    const double angle = second * 6 * M_PI / 180, radius = side * 0.45;
    for (int r = 0; r < radius; ++r) {
        const int x = side / 2 + static_cast<int>(std::lround(r * std::sin(angle)));
        const int y = side / 2 - static_cast<int>(std::lround(r * std::cos(angle)));
        pixels[static_cast<std::size_t>(y) * side + x] = 0;
    }
}

// A box of `side` pixels bouncing inside `width` x `height`, `step` pixels a move on each axis.
struct Bounce {
    int width, height, side, step;
    int left = 0, top = 0, dx = step, dy = step;

    void Step() {
        if (left + dx < 0 || left + dx + side > width)
            dx = -dx;
        if (top + dy < 0 || top + dy + side > height)
            dy = -dy;
        left += dx;
        top += dy;
    }
};
