#pragma once
// What each drawing of the program's art decodes to, pixel for pixel, whatever form the
// executable keeps it in: a digest of its size and of every pixel's red, green and blue, row
// by row from the top. Taken from the drawings as first committed, so a change of how the art
// is stored cannot change one pixel on either backend.

#include <cstdint>

namespace testing_support {

enum class ArtScale { One, OneAndAHalf, Two };

struct ArtDigest {
    const char* name; // as ui::ResourcePicture knows it
    ArtScale scale;
    std::uint64_t digest;
};

// FNV-1a, fed the width, the height, then each pixel's red, green and blue.
class PixelDigest {
public:
    PixelDigest(int width, int height) {
        Add(static_cast<std::uint32_t>(width));
        Add(static_cast<std::uint32_t>(height));
    }
    void AddPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        Byte(red);
        Byte(green);
        Byte(blue);
    }
    std::uint64_t Value() const { return value_; }

private:
    void Add(std::uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8)
            Byte(static_cast<std::uint8_t>(word >> shift));
    }
    void Byte(std::uint8_t byte) {
        value_ ^= byte;
        value_ *= 0x100000001b3ULL;
    }
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

inline constexpr ArtDigest ArtDigests[] = {
    {"clock", ArtScale::One, 0x79c8c462f1ba7edfULL},
    {"clock", ArtScale::OneAndAHalf, 0x22bc030846c862e9ULL},
    {"clock", ArtScale::Two, 0xd60722236bec08f7ULL},
    {"alarmclock", ArtScale::One, 0x771f7827ce327579ULL},
    {"alarmclock", ArtScale::OneAndAHalf, 0xcd3121b8544ee99fULL},
    {"alarmclock", ArtScale::Two, 0xa3c3f6c65dc81870ULL},
    {"lips", ArtScale::One, 0xe443b9173910a629ULL},
    {"lips", ArtScale::OneAndAHalf, 0xab7d6686c2dfe309ULL},
    {"lips", ArtScale::Two, 0x387cd6fb3343ea6fULL},
    {"lips_small", ArtScale::One, 0x7b52c923df1cee3aULL},
    {"lips_small", ArtScale::OneAndAHalf, 0x8aa792b13bcf213aULL},
    {"lips_small", ArtScale::Two, 0x7c98d5334e15a6ddULL},
    {"setup_banner", ArtScale::One, 0x19645ea61d8595eeULL},
    {"setup_banner", ArtScale::OneAndAHalf, 0xe0fa2b7b294b0dd1ULL},
    {"setup_banner", ArtScale::Two, 0x3c66c90a542768c1ULL},
    {"about_banner", ArtScale::One, 0x70fb3ddb8989f7caULL},
    {"about_banner", ArtScale::OneAndAHalf, 0x75670a2ff20a4d6cULL},
    {"about_banner", ArtScale::Two, 0x5247afaf7f6c494cULL},
    {"about_bar", ArtScale::One, 0xbf2bab88ea666b81ULL},
    {"about_bar", ArtScale::OneAndAHalf, 0xe6e9bb39b65495e3ULL},
    {"about_bar", ArtScale::Two, 0xdc4ab89ebbb924c3ULL},
    {"exit_bar", ArtScale::One, 0x33fd5672f9adb587ULL},
    {"exit_bar", ArtScale::OneAndAHalf, 0x5eaf13e38b0f0e5bULL},
    {"exit_bar", ArtScale::Two, 0xf2ab87833d2c26eaULL},
    {"ok_bar", ArtScale::One, 0x9b1976668ac51feeULL},
    {"ok_bar", ArtScale::OneAndAHalf, 0x4a0f6bdeed82e5eeULL},
    {"ok_bar", ArtScale::Two, 0x758f4b0f330fbd59ULL},
    {"logo", ArtScale::One, 0x8e7f7c80012d2a2ULL},
    {"logo", ArtScale::OneAndAHalf, 0x11916b3912b1470fULL},
    {"logo", ArtScale::Two, 0xb10f2c786f144963ULL},
};

} // namespace testing_support
