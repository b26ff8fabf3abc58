#include "platform/Rand.h"

namespace qv {

namespace {
// Constant-initialised, so it is valid before main and in every new thread.
thread_local constinit uint32_t t_randState = 1;
}  // namespace

int Rand() {
    t_randState = t_randState * 214013u + 2531011u;
    return static_cast<int>((t_randState >> 16) & 0x7FFF);
}

void SeedRand(uint32_t seed) {
    t_randState = seed;
}

uint32_t RandState() {
    return t_randState;
}

}  // namespace qv
