#pragma once
// Resizing of decoded pixels where the system has no good filter of its own: 32-bit pixels with
// premultiplied alpha, each channel filtered alike. Enlarging interpolates between neighbours
// (no blocks); reducing averages every pixel covered, weighted towards the centre (nothing
// dropped, no moire).

#include <cstdint>

namespace ui {

// Rows of `width` pixels, top to bottom, into rows of `toWidth`. Sizes are at least 1. It
// holds toWidth x height pixels in floating point meanwhile: callers bound that.
void Resample(const std::uint32_t* from, int width, int height, std::uint32_t* to, int toWidth,
              int toHeight);

} // namespace ui
