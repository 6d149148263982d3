// Engine throughput on the sample photos, in megapixels per second, beside a plain copy of
// the same bytes (the memory-bound limit every per-pixel table lookup is measured against).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "fxui.h"
#include "image/dib.h"
#include "tools/bmp/bmp_file.h"

namespace {

const char* const kPhotos[] = {"astronaut.bmp", "coffee.bmp", "camera-grey.bmp"};

HGLOBAL LoadPhoto(int index) {
  std::string error;
  HGLOBAL dib = LoadBmpFile(std::string(FXUI_SAMPLES_DIR) + "/" + kPhotos[index], &error);
  if (!dib) std::fprintf(stderr, "%s\n", error.c_str());
  return dib;
}

void SetPixelCounters(benchmark::State& state, HGLOBAL dib) {
  int width = 0, height = 0;
  GetDibSize(dib, &width, &height);
  // Shown as pixels per second with an SI prefix: "123.4M/s" is 123.4 megapixels per second.
  state.counters["px/s"] = benchmark::Counter(static_cast<double>(width) * height * state.iterations(),
                                              benchmark::Counter::kIsRate);
  state.SetLabel(kPhotos[state.range(0)]);
}

// A new block of the same size with the bytes copied: what any routine costs at the least.
void BM_PlainCopy(benchmark::State& state) {
  HGLOBAL dib = LoadPhoto(static_cast<int>(state.range(0)));
  const size_t size = GlobalSize(dib);
  for (auto _ : state) {
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    void* to = GlobalLock(copy);
    const void* from = GlobalLock(dib);
    std::memcpy(to, from, size);
    GlobalUnlock(dib);
    GlobalUnlock(copy);
    benchmark::DoNotOptimize(copy);
    GlobalFree(copy);
  }
  SetPixelCounters(state, dib);
  GlobalFree(dib);
}

void RunEffect(benchmark::State& state, int effect, const void* record) {
  HGLOBAL dib = LoadPhoto(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    HGLOBAL result = ApplyEffect(dib, effect, record);
    if (!result) state.SkipWithError("the effect gave no image");
    GlobalFree(result);
  }
  SetPixelCounters(state, dib);
  GlobalFree(dib);
}

void BM_BrightnessContrast(benchmark::State& state) {
  const BrightnessContrastParams params{CHANNEL_ALL, 20, 30};
  RunEffect(state, EFFECT_BRIGHTNESS_CONTRAST, &params);
}

}  // namespace

BENCHMARK(BM_PlainCopy)->DenseRange(0, 2);
BENCHMARK(BM_BrightnessContrast)->DenseRange(0, 2);
