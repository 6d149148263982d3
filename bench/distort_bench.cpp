// Geometric warps, random textures, emboss and motion blur on the sample photos.
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
