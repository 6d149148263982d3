// Effects 8, 9 and 17: the average blur, the softened box blur and the Gaussian blur, three
// separable blurs over a square window run as a horizontal and a vertical pass.
#include <cmath>
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

// Largest division table the softened blur makes (its tables grow with n + m): 2^30 bytes
// keeps every sum and table index of the run well inside 32 bits.
constexpr uint64_t kMaxTableBytes = uint64_t{1} << 30;

}  // namespace

HGLOBAL AverageBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int n = static_cast<const FilterSizeParams*>(record)->squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t* divide = frame.AllocateTable<uint8_t>(size_t(n) * 256);
  uint8_t* line = AllocatePaddedLine(frame, n);
  if (!divide || !line) return nullptr;  // a missing working table ends the run without an image
  FillDivisionTable(divide, n);
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  const auto box = [&](const LineArgs& a) { BoxMeanLine(a, n, divide); };
  RunSeparablePasses(frame, n, line, box, box);
  return frame.Finish();
}

HGLOBAL SoftenedBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const SoftenParams*>(record);
  const int n = std::max<int32_t>(params.squareSize, 2);
  const int m = params.centerWeight;
  // A negative centre weight would index below the division table: refused.
  if (m < 0) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const int64_t blend = std::max<int64_t>(1, int64_t{n} + m);
  // Larger tables count as failed allocations.
  if (uint64_t(blend) * 256 > kMaxTableBytes) return nullptr;
  uint8_t* divide = frame.AllocateTable<uint8_t>(size_t(n) * 256);
  uint8_t* divideBlend = frame.AllocateTable<uint8_t>(size_t(blend) * 256);
  uint8_t* line = AllocatePaddedLine(frame, n);
  if (!divide || !divideBlend || !line) return nullptr;
  FillDivisionTable(divide, n);
  FillDivisionTable(divideBlend, static_cast<int>(blend));
  int products[256];  // v x m
  for (int v = 0; v < 256; ++v) products[v] = v * m;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // The vertical box sum blended with the source pixel: (S + m x source) / (n + m), rounded.
  RunBoxPassesFinishingOnSource(frame, n, line, divide,
                                [&](int sum, int source) { return divideBlend[sum + products[source]]; });
  return frame.Finish();
}

void GaussianWeights(int n, int32_t* weights) {
  const int h = n / 2;
  double w[kMaxSquareSize];
  double sum = 0;
  for (int j = 0; j < n; ++j) {
    const double t = static_cast<double>(std::abs(j - h)) / h;
    w[j] = std::pow(2.7182818, -2 * t * t);
    sum += w[j];
  }
  const double scale = 1048576 / sum;
  int64_t total = 0;
  for (int j = 0; j < n; ++j) {
    weights[j] = static_cast<int32_t>(w[j] * scale + 0.5);
    total += weights[j];
  }
  // Rounding leaves the sum a few units off 2^20: move the middle weights by one each.
  const int64_t d = total - 1048576;
  const int k = static_cast<int>(std::min<int64_t>(std::abs(d), n));
  for (int j = (n - k) / 2; j < (n - k) / 2 + k; ++j) weights[j] += d > 0 ? -1 : 1;
}

HGLOBAL GaussianBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int n = static_cast<const FilterSizeParams*>(record)->squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  // Table j holds v x W_j: the inner loop adds n lookups, no multiplication.
  uint32_t* weighted = frame.AllocateTable<uint32_t>(size_t(n) * 256);
  uint8_t* line = AllocatePaddedLine(frame, n);
  if (!weighted || !line) return nullptr;
  int32_t weights[kMaxSquareSize];
  GaussianWeights(n, weights);
  for (int j = 0; j < n; ++j) {
    for (uint32_t v = 0; v < 256; ++v) weighted[j * 256 + v] = v * static_cast<uint32_t>(weights[j]);
  }
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // 20-bit fixed point: the weights sum to 2^20, so the rounded result needs no clamp.
  const auto gauss = [&](const LineArgs& a) {
    for (int p = 0; p < a.length; ++p) {
      const uint8_t* window = a.line + p;
      uint32_t acc = 524288;
      for (int j = 0; j < n; ++j) acc += weighted[j * 256 + window[j]];
      a.out[p * a.outStep] = static_cast<uint8_t>(acc >> 20);
    }
  };
  RunSeparablePasses(frame, n, line, gauss, gauss);
  return frame.Finish();
}
