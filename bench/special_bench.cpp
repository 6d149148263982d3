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

// Mapping by state.range(1): 0 across the columns, 2 radial, 3 angular; the curve mirrors
// about its middle.
void BM_MagicMirror(benchmark::State& state) {
  MagicMirrorParams params{static_cast<int32_t>(state.range(1)), {}};
  for (int i = 0; i < 256; ++i) params.curve[i] = static_cast<uint8_t>(i < 128 ? i : 255 - i);
  RunEffect(state, EFFECT_MAGIC_MIRROR, &params);
}

void BM_Ribbon(benchmark::State& state) {
  const RibbonParams params{25, 60, 0};
  RunEffect(state, EFFECT_RIBBON, &params);
}

void BM_Cylinder(benchmark::State& state) { RunEffect(state, EFFECT_CYLINDER, nullptr); }

}  // namespace

BENCHMARK(BM_ToneAdjustment)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_DirectionalErosion)->Args({kGreyPhoto, 1})->Args({kGreyPhoto, 16})->Args({kGreyPhoto, 128});
BENCHMARK(BM_LevelScaling)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_MagicMirror)->ArgsProduct({{0, 1, 2}, {0, 2, 3}});
BENCHMARK(BM_Ribbon)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Cylinder)->DenseRange(0, kPhotoCount - 1);
