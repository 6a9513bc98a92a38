#include "ui/Random.h"

#include <cstdint>
#include <cstring>

namespace ui {

namespace {

std::uint64_t state = 0x9E3779B97F4A7C15u;

// splitmix64: small, fast and well mixed even for seeds that differ in few bits.
std::uint64_t Next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

} // namespace

void Randomize(double seed) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    state = bits;
}

void Reseed(double seed) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    state ^= bits;
    state = Next();
}

float Rnd() {
    // 24 bits fill a float's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(Next() >> 40) * (1.0f / 16777216.0f);
}

} // namespace ui
