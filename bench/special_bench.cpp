// Curve-driven and enhancement effects on the sample photos.
#include "bench_util.h"

namespace {

// Photo 2 is the only 8-bit one, the kind directional erosion takes.
constexpr int kGreyPhoto = 2;

void BM_ToneAdjustment(benchmark::State& state) {
  const ToneAdjustmentParams params{20, 40, -20, CHANNEL_ALL};
  RunEffect(state, EFFECT_TONE_ADJUSTMENT, &params);
}

void BM_DirectionalErosion(benchmark::State& state) {
  const DirectionalErosionParams params{static_cast<int32_t>(state.range(1))};
  RunEffect(state, EFFECT_DIRECTIONAL_EROSION, &params);
}

void BM_LevelScaling(benchmark::State& state) {
  const LevelScalingParams params{180};
  RunEffect(state, EFFECT_LEVEL_SCALING, &params);
}

}  // namespace

BENCHMARK(BM_ToneAdjustment)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_DirectionalErosion)->Args({kGreyPhoto, 1})->Args({kGreyPhoto, 16})->Args({kGreyPhoto, 128});
BENCHMARK(BM_LevelScaling)->DenseRange(0, kPhotoCount - 1);
