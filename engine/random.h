// The engine's random generator: a linear congruential sequence with one state per thread,
// starting at 1 in every thread.
#ifndef FXUI_ENGINE_RANDOM_H
#define FXUI_ENGINE_RANDOM_H

#include <cstdint>

// Sets the calling thread's generator state.
void SeedRandom(uint32_t seed);
// Advances the state (x 214013 + 2531011, modulo 2^32) and returns its bits 16 to 30.
int NextRandom();

#endif
