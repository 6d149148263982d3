// Shared pieces of the engine benchmarks: the sample photos and the pixel-rate counter.
#ifndef FXUI_BENCH_BENCH_UTIL_H
#define FXUI_BENCH_BENCH_UTIL_H

#include <benchmark/benchmark.h>

#include "fxui.h"

// Photos by index: 0 astronaut (24-bit), 1 coffee (24-bit), 2 camera (8-bit grey).
constexpr int kPhotoCount = 3;
HGLOBAL LoadPhoto(int index);

// Runs ApplyEffect(effect, record) on photo state.range(0) in the loop and reports pixels per
// second ("123.4M/s" is 123.4 megapixels per second). A null result fails the benchmark.
void RunEffect(benchmark::State& state, int effect, const void* record);

// Labels the run with the photo's name and sets the pixel-rate counter.
void SetPixelCounters(benchmark::State& state, HGLOBAL dib);

#endif
