#pragma once
// The random numbers the native game draws: those of the GNU C library's
// rand(), an additive feedback generator (r[i] = r[i-3] + r[i-31]) seeded by
// a multiplicative one. The web build's C library draws others, so it draws
// these instead (random_web.cpp): a mission that starts at the same tick then
// puts its planes where the native game puts them.
#include <cstdint>

struct NativeRandom {
    int32_t state[31];
    int front = 3, rear = 0; // the two taps of the feedback
};

NativeRandom seededRandom(unsigned seed);

// The next number, 0 to 2^31 - 1.
int nextRandom(NativeRandom& random);
