// Tone and colour effects on the sample photos.
#include "bench_util.h"

namespace {

void BM_BrightnessContrast(benchmark::State& state) {
  const BrightnessContrastParams params{CHANNEL_ALL, 20, 30};
  RunEffect(state, EFFECT_BRIGHTNESS_CONTRAST, &params);
}

void BM_HueSaturation(benchmark::State& state) {
  const HueSaturationParams params{60, -30};
  RunEffect(state, EFFECT_HUE_SATURATION, &params);
}

void BM_Curve(benchmark::State& state) {
  CurveParams params{CHANNEL_ALL, {}};
  for (int i = 0; i < 256; ++i) params.curve[i] = static_cast<uint8_t>(255 - i);
  RunEffect(state, EFFECT_CURVE, &params);
}

void BM_ColorReduction(benchmark::State& state) {
  const ColorReductionParams params{CHANNEL_ALL, 6};
  RunEffect(state, EFFECT_COLOR_REDUCTION, &params);
}

void BM_Equalize(benchmark::State& state) { RunEffect(state, EFFECT_EQUALIZE, nullptr); }

void BM_Invert(benchmark::State& state) { RunEffect(state, EFFECT_INVERT, nullptr); }

void BM_Threshold(benchmark::State& state) {
  const ThresholdParams params{128};
  RunEffect(state, EFFECT_THRESHOLD, &params);
}

void BM_Solarize(benchmark::State& state) { RunEffect(state, EFFECT_SOLARIZE, nullptr); }

void BM_LogCurve(benchmark::State& state) { RunEffect(state, EFFECT_LOG_CURVE, nullptr); }

}  // namespace

BENCHMARK(BM_BrightnessContrast)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_HueSaturation)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Curve)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_ColorReduction)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Equalize)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Invert)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Threshold)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_Solarize)->DenseRange(0, kPhotoCount - 1);
BENCHMARK(BM_LogCurve)->DenseRange(0, kPhotoCount - 1);
