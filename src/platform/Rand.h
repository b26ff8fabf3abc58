#pragma once
// The game's chance generator: the old runtime library's rand()/srand(), which
// random population relies on to populate a cell alike every time it is seeded
// with the cell's index. Each thread has its own state, starting at 1, so a
// worker thread never disturbs the main thread's sequence. Nothing in the game
// calls the C library's rand.

#include <cstdint>

namespace qv {

// The next number, 0 to 32767.
int Rand();
// Restarts this thread's sequence from `seed`.
void SeedRand(uint32_t seed);
// This thread's state, which SeedRand puts back.
uint32_t RandState();

}  // namespace qv
