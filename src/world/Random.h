#pragma once
// The game's random numbers: uniform and bell-shaped doubles drawn from the
// chance generator (qv::Rand), the Park-Miller minimal standard generator with
// one global seed taken from the clock, and a long-period generator with a
// shuffle table that nothing calls.

#include <cstdint>
#include <ctime>

// qv::Rand() / 32768: [0, 1).
double RandomUniform();
// (qv::Rand() + 1) / 32768: (0, 1].
double RandomUniformPositive();
// mean - sigma * sqrt(-2 ln u): never above the mean.
double RandomGaussianLow(double* mean, double* sigma);
// mean + or - sigma * sqrt(-2 ln u), the side chosen by a second draw.
double RandomGaussian(double* mean, double* sigma);

// Seeds the minimal standard generator from the clock (seconds) and returns
// the seed, brought into 1 .. 2^31 - 2 so the generator never sticks at 0.
int32_t SeedRandom();
int32_t SeedRandom(std::time_t now);
// The minimal standard seed itself.
void SetRandomSeed(int32_t seed);
int32_t GetRandomSeed();
// The next minimal standard value: seed = 16807 * seed mod (2^31 - 1).
int32_t RandomInt();

// L'Ecuyer's combined generator with a Bays-Durham shuffle: a double in
// (0, 1). A seed of 0 or below restarts it.
double Ran2(int32_t* seed);
