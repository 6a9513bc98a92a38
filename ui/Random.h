#pragma once
// The seedable random-number generator of the platform layer.

namespace ui {

// Starts the sequence anew from a seed; equal seeds give equal sequences.
void Randomize(double seed);

// The next number, uniform in [0, 1).
float Rnd();

} // namespace ui
