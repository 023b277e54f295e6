#pragma once

#include <cstdint>

namespace vb {

// splitmix64: advances `state` and returns a value that spreads any 64-bit
// input over the whole range, so neighbouring inputs give unrelated results.
std::uint64_t splitmix64(std::uint64_t& state);

// The program's one random generator: uniform single-precision numbers,
// at least 0 and below 1, with 24 random bits each. Before the first
// reseed it runs one fixed sequence, as the runtime's generator does.
// The program draws on the user-interface thread only.
float rnd();

// Reseeds from the clock. Several reseeds within the same millisecond (or
// the same clock tick) still start different sequences: a paper reseeds
// for every pick and every shuffle.
void randomize();

} // namespace vb
