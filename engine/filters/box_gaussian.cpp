// Effects 8, 9 and 17: the average blur, the softened box blur and the Gaussian blur, three
// separable blurs over a square window run as a horizontal and a vertical pass.
#include <cmath>
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

// Largest n + m the softened blur takes: every sum of the run, up to 255 x (n + m), stays
// well inside 32 bits.
constexpr int64_t kMaxSoftenDivisor = int64_t{1} << 22;

}  // namespace

HGLOBAL AverageBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int n = static_cast<const FilterSizeParams*>(record)->squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  RoundedMean mean;
  const bool made = mean.Make(frame, n);
  uint8_t* strip = AllocateStrip(frame, 0);
  uint8_t* padded = AllocateBoxRow(frame, n);
  if (!made || !strip || !padded) return nullptr;  // a missing working table ends the run without an image
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  const uint8_t* divide = mean.table();
  RunBoxPassesFinishingOnSource(frame, n, strip, padded, mean, [divide](int sum, int) { return divide[sum]; });
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
  if (blend > kMaxSoftenDivisor) return nullptr;
  // Tables up to a fixed budget and a strip of the picture: nothing here grows with n or m
  // beyond that.
  RoundedMean mean, blended;
  const bool made = mean.Make(frame, n) && blended.Make(frame, static_cast<int>(blend));
  uint8_t* strip = AllocateStrip(frame, 0);
  if (!made || !strip) return nullptr;
  uint8_t* padded = AllocateBoxRow(frame, n);  // none past side 32: the rows then clamp
  int products[256];  // v x m
  for (int v = 0; v < 256; ++v) products[v] = v * m;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // The vertical box sum blended with the source pixel: (S + m x source) / (n + m), rounded.
  RunBoxPassesFinishingOnSource(frame, n, strip, padded, mean,
                                [&](int sum, int source) { return blended(sum + products[source]); });
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
  const DibLayout& layout = frame.layout();
  const int channels = ChannelsOf(layout);
  const size_t rowSamples = size_t(layout.width) * channels;
  uint8_t* padded = frame.AllocateTable<uint8_t>(rowSamples + size_t(n - 1) * channels);
  int32_t* sums = frame.AllocateTable<int32_t>(rowSamples);
  uint16_t* highSums = frame.AllocateTable<uint16_t>(rowSamples);
  uint8_t* strip = AllocateStrip(frame, n);
  if (!padded || !sums || !highSums || !strip) return nullptr;
  int32_t weights[kMaxSquareSize];
  GaussianWeights(n, weights);
  // Each weight as high x 2^15 + low: sample x low fits the 16-bit multiplies the compiler
  // vectorises well, and the high parts (they add up to at most 32) sum to at most 255 x 32
  // per sample, which 16 bits hold.
  int16_t low[kMaxSquareSize];
  uint16_t high[kMaxSquareSize];
  for (int j = 0; j < n; ++j) {
    low[j] = static_cast<int16_t>(weights[j] & 32767);
    high[j] = static_cast<uint16_t>(weights[j] >> 15);
  }
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // 20-bit fixed point: the weights sum to 2^20, so the rounded result needs no clamp and
  // the sums (below 2^28) no wider type. Each tap is one pass over a whole row.
  const auto accumulate = [&](int32_t* acc, uint16_t* accHigh, const uint8_t* first, ptrdiff_t tapStep, int count,
                              uint8_t* out) {
    for (int k = 0; k < count; ++k) acc[k] = 524288;
    for (int k = 0; k < count; ++k) accHigh[k] = 0;
    for (int j = 0; j < n; ++j) {
      const uint8_t* tap = first + j * tapStep;
      const int16_t w = low[j];
      const uint16_t h = high[j];
      for (int k = 0; k < count; ++k) {
        acc[k] += int32_t(int16_t(tap[k])) * w;
        accHigh[k] = uint16_t(accHigh[k] + tap[k] * h);
      }
    }
    for (int k = 0; k < count; ++k) out[k] = static_cast<uint8_t>((uint32_t(acc[k]) + (uint32_t(accHigh[k]) << 15)) >> 20);
  };
  const auto horizontal = [&](const RowArgs& a) {
    LoadPaddedUnits(a.in, a.channels, a.width, a.channels, n, padded);
    accumulate(sums, highSums, padded, a.channels, a.width * a.channels, a.out);
  };
  const auto vertical = [&](const StripArgs& a) {
    int32_t acc[kMaxStripBytes];
    uint16_t accHigh[kMaxStripBytes];
    for (int y = 0; y < a.height; ++y) accumulate(acc, accHigh, a.Row(y), a.bytes, a.bytes, a.out + y * a.stride);
  };
  RunSeparablePasses(frame, n, strip, horizontal, vertical);
  return frame.Finish();
}
