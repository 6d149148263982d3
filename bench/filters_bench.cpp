// Neighbourhood filters on the sample photos. The sized filters run at square size 3 and
// 31: the running-sum blurs and the unsharp mask should cost about the same at both, the
// Gaussian, maximum and minimum grow with the size, the median grows with it more slowly.
#include "bench_util.h"

namespace {

int Size(const benchmark::State& state) { return static_cast<int>(state.range(1)); }

void BM_Average(benchmark::State& state) {
  const FilterSizeParams params{Size(state), 0};
  RunEffect(state, EFFECT_AVERAGE, &params);
}
void BM_Soften(benchmark::State& state) {
  const SoftenParams params{Size(state), 4};
  RunEffect(state, EFFECT_SOFTEN, &params);
}
void BM_GaussianBlur(benchmark::State& state) {
  const FilterSizeParams params{Size(state), 0};
  RunEffect(state, EFFECT_GAUSSIAN_BLUR, &params);
}
void BM_UnsharpMask(benchmark::State& state) {
  const UnsharpMaskParams params{Size(state), 150, 4};
  RunEffect(state, EFFECT_UNSHARP_MASK, &params);
}
void BM_Maximum(benchmark::State& state) {
  const FilterSizeParams params{Size(state), 1};
  RunEffect(state, EFFECT_MAXIMUM_MINIMUM, &params);
}
void BM_Minimum(benchmark::State& state) {
  const FilterSizeParams params{Size(state), 0};
  RunEffect(state, EFFECT_MAXIMUM_MINIMUM, &params);
}
void BM_Median(benchmark::State& state) {
  const FilterSizeParams params{Size(state), 0};
  RunEffect(state, EFFECT_MEDIAN, &params);
}

void BM_EdgePreservingSmooth(benchmark::State& state) { RunEffect(state, EFFECT_EDGE_PRESERVING_SMOOTH, nullptr); }
void BM_AxisSharpen(benchmark::State& state) {
  const AxisSharpenParams params{static_cast<int32_t>(state.range(1))};
  RunEffect(state, EFFECT_AXIS_SHARPEN, &params);
}
void BM_FindContour(benchmark::State& state) {
  const FindContourParams params{1, CHANNEL_ALL, 128};
  RunEffect(state, EFFECT_FIND_CONTOUR, &params);
}
void BM_UserFilter(benchmark::State& state) {
  // A full 5 x 5 kernel: 25 lookups per sample, none skipped.
  UserFilterParams params{25, 0, 0, {}};
  for (int32_t& weight : params.kernel) weight = 1;
  RunEffect(state, EFFECT_USER_FILTER, &params);
}
void BM_Sketch(benchmark::State& state) {
  const SketchParams params{static_cast<int32_t>(state.range(1)), 20};
  RunEffect(state, EFFECT_SKETCH, &params);
}

}  // namespace

// Arguments: photo, then square size (or axis, or sketch style).
BENCHMARK(BM_Average)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_Soften)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_GaussianBlur)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_UnsharpMask)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_Maximum)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_Minimum)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_Median)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {3, 31}});
BENCHMARK(BM_EdgePreservingSmooth)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {0}});
BENCHMARK(BM_AxisSharpen)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {0, 1}});
BENCHMARK(BM_FindContour)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {0}});
BENCHMARK(BM_UserFilter)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {0}});
BENCHMARK(BM_Sketch)->ArgsProduct({benchmark::CreateDenseRange(0, kPhotoCount - 1, 1), {1, 2}});
