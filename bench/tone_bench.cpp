// Tone and colour effects on the sample photos.
#include "bench_util.h"

namespace {

void BM_BrightnessContrast(benchmark::State& state) {
  const BrightnessContrastParams params{CHANNEL_ALL, 20, 30};
  RunEffect(state, EFFECT_BRIGHTNESS_CONTRAST, &params);
}

}  // namespace

BENCHMARK(BM_BrightnessContrast)->DenseRange(0, kPhotoCount - 1);
