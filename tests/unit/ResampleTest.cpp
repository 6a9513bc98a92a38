#include "ui/Resample.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr std::uint32_t Opaque(std::uint8_t grey) {
    return 0xFF000000u | grey * 0x010101u;
}
std::uint8_t Channel(std::uint32_t pixel, int channel) {
    return static_cast<std::uint8_t>(pixel >> (8 * channel));
}

std::vector<std::uint32_t> Resized(const std::vector<std::uint32_t>& from, int width, int height,
                                   int toWidth, int toHeight) {
    std::vector<std::uint32_t> to(static_cast<std::size_t>(toWidth) * toHeight);
    ui::Resample(from.data(), width, height, to.data(), toWidth, toHeight);
    return to;
}

// A flat colour stays exactly that colour at any size, up or down, edges included.
TEST(Resample, AFlatColourStaysExact) {
    const std::uint32_t colour = 0xFF3080C0u;
    const std::vector<std::uint32_t> flat(7 * 5, colour);
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {7, 5}, {9, 6}, {10, 8}, {14, 10}, {21, 15}})
        for (std::uint32_t pixel : Resized(flat, 7, 5, w, h))
            ASSERT_EQ(pixel, colour) << w << "x" << h;
}

// Reduced, every source pixel counts: thin lines become grey, not dropped or doubled.
TEST(Resample, ReducingAveragesWhatItCovers) {
    std::vector<std::uint32_t> stripes;
    for (int i = 0; i < 8 * 8; ++i)
        stripes.push_back(Opaque(i % 2 ? 255 : 0));
    const auto half = Resized(stripes, 8, 8, 4, 4);
    for (std::size_t i = 0; i < half.size(); ++i) {
        const int value = Channel(half[i], 0);
        if (i % 4 == 0 || i % 4 == 3) { // at the edges, weighted towards the pixels inside
            EXPECT_GT(value, 64);
            EXPECT_LT(value, 192);
        } else {
            EXPECT_NEAR(value, 128, 1);
        }
    }
    const auto single = Resized({Opaque(0), Opaque(255), Opaque(255), Opaque(0)}, 2, 2, 1, 1);
    EXPECT_NEAR(Channel(single[0], 1), 128, 1);
}

// Enlarged, an edge goes over smoothly and in order: no blocks, no ringing past its ends.
TEST(Resample, EnlargingInterpolates) {
    const auto ramp = Resized({Opaque(0), Opaque(255)}, 2, 1, 8, 1);
    int between = 0;
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const int value = Channel(ramp[i], 2);
        if (i > 0) {
            EXPECT_GE(value, Channel(ramp[i - 1], 2));
        }
        between += value > 0 && value < 255;
    }
    EXPECT_EQ(Channel(ramp.front(), 2), 0);
    EXPECT_EQ(Channel(ramp.back(), 2), 255);
    EXPECT_GE(between, 4);
}

// Premultiplied pixels filter alike in every channel: no colour brighter than its alpha, so no
// fringe where a picture meets its transparent surround.
TEST(Resample, TransparencyKeepsItsPremultipliedForm) {
    const std::uint32_t red = 0xFFFF0000u, clear = 0;
    std::vector<std::uint32_t> from;
    for (int i = 0; i < 6 * 6; ++i)
        from.push_back((i % 6) < 3 ? red : clear);
    for (auto [w, h] : {std::pair{4, 4}, {9, 9}, {12, 12}})
        for (std::uint32_t pixel : Resized(from, 6, 6, w, h)) {
            EXPECT_LE(Channel(pixel, 2), Channel(pixel, 3));
            EXPECT_EQ(Channel(pixel, 1), 0);
        }
}

} // namespace
