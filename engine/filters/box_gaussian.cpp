// Effects 8, 9 and 17: the average blur, the softened box blur and the Gaussian blur, three
// separable blurs over a square window run as a horizontal and a vertical pass.
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

// Largest n + m the softened blur takes: every sum of the run, up to 255 x (n + m), stays
// well inside 32 bits.
constexpr int64_t kMaxSoftenDivisor = int64_t{1} << 22;

#if defined(__SSE2__)
// out[k] = (524288 + sum over j of weights[j] x first[k + j x tapStep]) >> 20 for k = 0 ... count - 1,
// sixteen samples at a time with every tap summed in registers: each weight is split as
// high x 2^15 + low (low below 2^15, high at most 32), taps go in pairs through 16-bit
// multiply-adds, and the two halves meet as (low sums + high sums x 2^15), the exact 32-bit
// sum (below 2^28). Samples past the last group of sixteen are summed one by one.
void GaussianTaps(const uint8_t* first, ptrdiff_t tapStep, int count, const int32_t* weights, int n, uint8_t* out) {
  __m128i lowPairs[kMaxSquareSize / 2], highPairs[kMaxSquareSize / 2];
  ptrdiff_t secondTap[kMaxSquareSize / 2];  // from the pair's first tap; for odd n the last pair
                                            // has a zero weight and reads its first tap again
  const int pairs = (n + 1) / 2;
  for (int p = 0; p < pairs; ++p) {
    const bool full = 2 * p + 1 < n;
    const int32_t a = weights[2 * p], b = full ? weights[2 * p + 1] : 0;
    const int32_t low = (b & 32767) << 16 | (a & 32767), high = (b >> 15) << 16 | (a >> 15);
    lowPairs[p] = _mm_set1_epi32(low);
    highPairs[p] = _mm_set1_epi32(high);
    secondTap[p] = full ? tapStep : 0;
  }
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi32(524288);
  int k = 0;
  for (; k + 16 <= count; k += 16) {
    __m128i low[4] = {half, half, half, half}, high[4] = {zero, zero, zero, zero};
    const uint8_t* tap = first + k;
    for (int p = 0; p < pairs; ++p, tap += 2 * tapStep) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tap));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(tap + secondTap[p]));
      const __m128i a0 = _mm_unpacklo_epi8(a, zero), a1 = _mm_unpackhi_epi8(a, zero);
      const __m128i b0 = _mm_unpacklo_epi8(b, zero), b1 = _mm_unpackhi_epi8(b, zero);
      const __m128i ab[4] = {_mm_unpacklo_epi16(a0, b0), _mm_unpackhi_epi16(a0, b0), _mm_unpacklo_epi16(a1, b1),
                             _mm_unpackhi_epi16(a1, b1)};
      for (int q = 0; q < 4; ++q) {
        low[q] = _mm_add_epi32(low[q], _mm_madd_epi16(ab[q], lowPairs[p]));
        high[q] = _mm_add_epi32(high[q], _mm_madd_epi16(ab[q], highPairs[p]));
      }
    }
    __m128i sums[4];
    for (int q = 0; q < 4; ++q) sums[q] = _mm_srli_epi32(_mm_add_epi32(low[q], _mm_slli_epi32(high[q], 15)), 20);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sums[0], sums[1]), _mm_packs_epi32(sums[2], sums[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), bytes);
  }
  for (; k < count; ++k) {
    int32_t acc = 524288;
    for (int j = 0; j < n; ++j) acc += weights[j] * first[k + j * tapStep];
    out[k] = static_cast<uint8_t>(acc >> 20);
  }
}
#endif

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

  ShortDivision shortDivision;
  if (shortDivision.Make(n, 255 * n + n / 2)) {
    RunSeparablePasses(
        frame, 0, strip, [&](const RowArgs& a) { BoxMeanAlongRow(a, n, padded, mean); },
        [&](const StripArgs& a) { BoxMeansDownStrip(a, n, 0, shortDivision); });
  } else {
    const uint8_t* divide = mean.table();
    RunBoxPassesFinishingOnSource(frame, n, strip, padded, mean, [divide](int sum, int) { return divide[sum]; });
  }
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
  ShortDivision shortDivision;
  if (blend <= kMaxShortDivisor && shortDivision.Make(static_cast<int>(blend), static_cast<int>(255 * blend + blend / 2))) {
    RunSeparablePasses(
        frame, 0, strip, [&](const RowArgs& a) { BoxMeanAlongRow(a, n, padded, mean); },
        [&](const StripArgs& a) { BoxMeansDownStrip(a, n, m, shortDivision); });
  } else {
    RunBoxPassesFinishingOnSource(frame, n, strip, padded, mean,
                                  [&](int sum, int source) { return blended(sum + products[source]); });
  }
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
#if !defined(__SSE2__)
  // Each weight as high x 2^15 + low: sample x low fits the 16-bit multiplies the compiler
  // vectorises well, and the high parts (they add up to at most 32) sum to at most 255 x 32
  // per sample, which 16 bits hold.
  int16_t low[kMaxSquareSize];
  uint16_t high[kMaxSquareSize];
  for (int j = 0; j < n; ++j) {
    low[j] = static_cast<int16_t>(weights[j] & 32767);
    high[j] = static_cast<uint16_t>(weights[j] >> 15);
  }
#endif
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // 20-bit fixed point: the weights sum to 2^20, so the rounded result needs no clamp and
  // the sums (below 2^28) no wider type. Each tap is one pass over a whole row.
  const auto accumulate = [&](int32_t* acc, uint16_t* accHigh, const uint8_t* first, ptrdiff_t tapStep, int count,
                              uint8_t* out) {
#if defined(__SSE2__)
    static_cast<void>(acc), static_cast<void>(accHigh);
    GaussianTaps(first, tapStep, count, weights, n, out);
#else
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
#endif
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
