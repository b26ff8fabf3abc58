#include "world/Random.h"

#include <cmath>

#include "platform/Rand.h"

namespace {
int32_t g_iRandomSeed = 1;

constexpr int32_t kModulus = 2147483647;  // 2^31 - 1
constexpr int32_t kMultiplier = 16807;
constexpr int32_t kSchrageQ = 127773;  // kModulus / kMultiplier
constexpr int32_t kSchrageR = 2836;    // kModulus % kMultiplier
}  // namespace

double RandomUniform() {
    return qv::Rand() * (1.0 / 32768.0);
}

double RandomUniformPositive() {
    return (qv::Rand() + 1) * (1.0 / 32768.0);
}

double RandomGaussianLow(double* mean, double* sigma) {
    double u = RandomUniformPositive();
    return *mean - *sigma * std::sqrt(-2.0 * std::log(u));
}

double RandomGaussian(double* mean, double* sigma) {
    double u = RandomUniformPositive();
    double r = *sigma * std::sqrt(-2.0 * std::log(u));
    double v = RandomUniform();
    return v > 0.5 ? *mean + r : *mean - r;
}

int32_t SeedRandom(std::time_t now) {
    // Seconds past 2038 no longer fit, and a multiple of the modulus would
    // leave the generator at 0 for ever.
    int64_t v = static_cast<int64_t>(now) % kModulus;
    if (v < 0) v += kModulus;
    if (v == 0) v = 1;
    g_iRandomSeed = static_cast<int32_t>(v);
    return g_iRandomSeed;
}

int32_t SeedRandom() {
    return SeedRandom(std::time(nullptr));
}

void SetRandomSeed(int32_t seed) {
    g_iRandomSeed = seed;
}

int32_t GetRandomSeed() {
    return g_iRandomSeed;
}

int32_t RandomInt() {
    // 16807 * seed mod (2^31 - 1) without overflow (Schrage).
    int32_t k = g_iRandomSeed / kSchrageQ;
    int32_t s = kMultiplier * (g_iRandomSeed - k * kSchrageQ) - k * kSchrageR;
    if (s < 0) s += kModulus;
    g_iRandomSeed = s;
    return s;
}

namespace {
constexpr int64_t kM1 = 2147483563, kA1 = 40014, kQ1 = 53668, kR1 = 12211;
constexpr int64_t kM2 = 2147483399, kA2 = 40692, kQ2 = 52774, kR2 = 3791;
constexpr int kTable = 32;
constexpr int64_t kDiv = 1 + (kM1 - 1) / kTable;
// Held in single precision, as the game always had them.
constexpr float kScale = 4.6566134e-10f;
constexpr float kHighest = 0.9999999f;

int64_t g_ran2Second = 123456789;
int64_t g_ran2Last = 0;
int64_t g_ran2Table[kTable];

int64_t Step(int64_t v, int64_t a, int64_t q, int64_t r, int64_t m) {
    int64_t k = v / q;
    v = a * (v - k * q) - k * r;
    return v < 0 ? v + m : v;
}
}  // namespace

double Ran2(int32_t* seed) {
    int64_t first = *seed;
    if (first <= 0) {
        first = first == 0 ? 1 : -first;
        g_ran2Second = first;
        for (int j = kTable + 7; j >= 0; --j) {
            first = Step(first, kA1, kQ1, kR1, kM1);
            if (j < kTable) g_ran2Table[j] = first;
        }
        g_ran2Last = g_ran2Table[0];
    }
    first = Step(first, kA1, kQ1, kR1, kM1);
    g_ran2Second = Step(g_ran2Second, kA2, kQ2, kR2, kM2);
    *seed = static_cast<int32_t>(first);
    int j = static_cast<int>(g_ran2Last / kDiv);
    g_ran2Last = g_ran2Table[j] - g_ran2Second;
    g_ran2Table[j] = first;
    if (g_ran2Last < 1) g_ran2Last += kM1 - 1;
    double t = static_cast<double>(kScale) * static_cast<double>(g_ran2Last);
    return t > kHighest ? kHighest : t;
}
