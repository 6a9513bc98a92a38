#include "ui/Resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {

namespace {

// The source pixels one target pixel takes, and how much of each.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

// A triangle filter one source pixel wide when enlarging and one target pixel wide when
// reducing: bilinear up, an area average down.
std::vector<Taps> Filter(int from, int to) {
    const double ratio = static_cast<double>(from) / to;
    const double support = std::max(1.0, ratio);
    std::vector<Taps> taps(static_cast<std::size_t>(to));
    for (int target = 0; target < to; ++target) {
        const double centre = (target + 0.5) * ratio;
        const int first = std::max(0, static_cast<int>(std::floor(centre - support)));
        const int last = std::min(from - 1, static_cast<int>(std::ceil(centre + support)));
        Taps& tap = taps[static_cast<std::size_t>(target)];
        tap.first = first;
        double total = 0;
        for (int source = first; source <= last; ++source) {
            const double weight = std::max(0.0, 1.0 - std::abs((source + 0.5 - centre) / support));
            tap.weights.push_back(static_cast<float>(weight));
            total += weight;
        }
        if (total <= 0) { // only where a target pixel lies past the source's last centre
            tap.weights.assign(1, 1.0f);
            tap.first = std::min(first, from - 1);
            continue;
        }
        for (float& weight : tap.weights)
            weight = static_cast<float>(weight / total);
    }
    return taps;
}

float Channel(std::uint32_t pixel, int channel) {
    return static_cast<float>((pixel >> (8 * channel)) & 0xFF);
}

} // namespace

void Resample(const std::uint32_t* from, int width, int height, std::uint32_t* to, int toWidth,
              int toHeight) {
    // Along the rows first, into rows of the new width, then down their columns.
    const std::vector<Taps> across = Filter(width, toWidth), down = Filter(height, toHeight);
    std::vector<float> rows(static_cast<std::size_t>(toWidth) * height * 4);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = from + static_cast<std::ptrdiff_t>(y) * width;
        float* out = rows.data() + static_cast<std::ptrdiff_t>(y) * toWidth * 4;
        for (int x = 0; x < toWidth; ++x) {
            const Taps& tap = across[static_cast<std::size_t>(x)];
            for (std::size_t i = 0; i < tap.weights.size(); ++i)
                for (int channel = 0; channel < 4; ++channel)
                    out[x * 4 + channel] += Channel(in[tap.first + i], channel) * tap.weights[i];
        }
    }
    for (int y = 0; y < toHeight; ++y) {
        const Taps& tap = down[static_cast<std::size_t>(y)];
        for (int x = 0; x < toWidth; ++x) {
            float sum[4] = {};
            for (std::size_t i = 0; i < tap.weights.size(); ++i) {
                const float* pixel =
                    rows.data() + ((tap.first + static_cast<std::ptrdiff_t>(i)) * toWidth + x) * 4;
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += pixel[channel] * tap.weights[i];
            }
            std::uint32_t pixel = 0;
            for (int channel = 0; channel < 4; ++channel)
                pixel |=
                    static_cast<std::uint32_t>(std::clamp(std::round(sum[channel]), 0.0f, 255.0f))
                    << (8 * channel);
            to[static_cast<std::ptrdiff_t>(y) * toWidth + x] = pixel;
        }
    }
}

} // namespace ui
