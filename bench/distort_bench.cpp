// Geometric warps, random textures, emboss, motion blur, tiles and painterly effects on the
// sample photos.
#include "bench_util.h"

namespace {

void BM_Fisheye(benchmark::State& state) {
  const IntensityParams params{60};
  RunEffect(state, EFFECT_FISHEYE, &params);
}

void BM_Sphere(benchmark::State& state) { RunEffect(state, EFFECT_SPHERE, nullptr); }

void BM_Whirlpool(benchmark::State& state) {
  const IntensityParams params{60};
  RunEffect(state, EFFECT_WHIRLPOOL, &params);
}

void BM_Splash(benchmark::State& state) {
  const IntensityParams params{40};
  RunEffect(state, EFFECT_SPLASH, &params);
}

void BM_Wrinkle(benchmark::State& state) {
  const WrinkleParams params{60, 0xFFFFFF};
  RunEffect(state, EFFECT_WRINKLE, &params);
}

void BM_Melting(benchmark::State& state) {
  const IntensityParams params{100};
  RunEffect(state, EFFECT_MELTING, &params);
}

void BM_EmbossGray(benchmark::State& state) {
  const EmbossParams params{1, 3, 3, 0};
  RunEffect(state, EFFECT_EMBOSS, &params);
}

void BM_MotionBlurAxis(benchmark::State& state) {
  const MotionBlurParams params{2, 32};
  RunEffect(state, EFFECT_MOTION_BLUR, &params);
}

void BM_MotionBlurDiagonal(benchmark::State& state) {
  const MotionBlurParams params{1, 32};
  RunEffect(state, EFFECT_MOTION_BLUR, &params);
}

void BM_Mosaic(benchmark::State& state) {
  const MosaicParams params{8, 8};
  RunEffect(state, EFFECT_MOSAIC, &params);
}

void BM_ThreeDGridIrregular(benchmark::State& state) {
  const ThreeDGridParams params{1, 0, 1};
  RunEffect(state, EFFECT_3D_GRID, &params);
}

// Radius 2 (the dialog's start) and 15 (its largest).
void BM_OilPainting(benchmark::State& state) {
  const IntensityParams params{static_cast<int32_t>(state.range(1))};
  RunEffect(state, EFFECT_OIL_PAINTING, &params);
}

void BM_FilmGrain(benchmark::State& state) {
  const IntensityParams params{60};
  RunEffect(state, EFFECT_FILM_GRAIN, &params);
}

void BM_AddNoise(benchmark::State& state) {
  const IntensityParams params{60};
  RunEffect(state, EFFECT_ADD_NOISE, &params);
}

void BM_Ripple(benchmark::State& state) {
  const IntensityParams params{60};
  RunEffect(state, EFFECT_RIPPLE, &params);
}

void BM_AutoEnhance(benchmark::State& state) {
  const IntensityParams params{50};
  RunEffect(state, EFFECT_AUTO_ENHANCE, &params);
}

}  // namespace

BENCHMARK(BM_Fisheye)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Sphere)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Whirlpool)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Splash)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Wrinkle)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Melting)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_EmbossGray)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_MotionBlurAxis)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_MotionBlurDiagonal)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Mosaic)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_ThreeDGridIrregular)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_OilPainting)->ArgsProduct({{0, 1, 2}, {2, 15}});
BENCHMARK(BM_FilmGrain)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_AddNoise)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Ripple)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_AutoEnhance)->DenseRange(0, kPhotoCount - 1);
