#pragma once
// The seedable random-number generator of the platform layer.

namespace ui {

// Starts the sequence anew from a seed; equal seeds give equal sequences.
void Randomize(double seed);

// Stirs a seed into the generator's state: the numbers that follow depend on it and on all that
// came before, so the same seed twice in a row still gives two different numbers.
void Reseed(double seed);

// The next number, uniform in [0, 1).
float Rnd();

} // namespace ui
