// Effect 18, unsharp mask: the average blur's two passes, with each sample of the vertical
// pass corrected by a percentage of its difference from the blurred value.
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

#if defined(__SSE2__)
// The correction for a difference of size 0 ... 255, min(255, (50 + size x effect) / 100), as
// one 16-bit multiply-high: (((size x 128 x multiplier) >> 16) + round) >> shift, capped at
// 255. The three numbers are searched and checked at every size; every effect from 1 to 500
// has them.
struct Percentage {
  uint16_t multiplier = 0, round = 0;
  int shift = 0;
  bool Make(int effect) {
    for (shift = 15; shift >= 0; --shift) {
      const int64_t scaled = (int64_t{effect} << (shift + 9)) / 100;
      for (int64_t m = scaled; m <= scaled + 1 && m <= 65535; ++m) {
        const int64_t middle = (int64_t{1} << shift) / 2;
        for (int64_t r = std::max<int64_t>(0, middle - 3); r <= middle + 3; ++r) {
          bool exact = m > 0;
          for (int size = 0; size < 256 && exact; ++size) {
            exact = std::min<int64_t>(255, ((((int64_t{size} << 7) * m) >> 16) + r) >> shift) ==
                    std::min(255, (50 + size * effect) / 100);
          }
          if (exact) {
            multiplier = static_cast<uint16_t>(m);
            round = static_cast<uint16_t>(r);
            return true;
          }
        }
      }
    }
    return false;
  }
};
#endif

}  // namespace

HGLOBAL UnsharpMask(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const UnsharpMaskParams*>(record);
  const int n = params.squareSize;
  if (!IsSquareSize(n) || params.effect < 1 || params.effect > 500 || params.threshold < 0 ||
      params.threshold > 255) {
    return nullptr;
  }

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  BoxMeansAlongRows along;
  const RowRing ring = AllocateRing(frame, n);
  ColumnSums<uint16_t> columns;
  if (!along.Make(frame, n) || !ring.rows || !columns.Make(frame, ring)) return nullptr;
#if defined(__SSE2__)
  Percentage percentage;
  if (!percentage.Make(params.effect)) return nullptr;
#endif
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // The output is s + c(s - b), clamped to 0 ... 255, with b the blurred value, s the
  // source's own sample and c(d) = 0 for |d| below the threshold, else the rounded percentage
  // (50 + |d| x effect) / 100 with the sign of d. Computed rather than looked up, so that the
  // loop vectorises; a correction of 255 or more moves any sample to the clamp, so it may be
  // capped at 255.
  const int effect = params.effect, threshold = params.threshold;
  const ShortDivision& byN = along.division();
  const uint16_t half = uint16_t(n / 2), multiplier = uint16_t(byN.multiplier);
  const int shift = byN.shift;
  RunFusedPasses(frame, n, ring, along, [&](int y, uint8_t* out, const uint8_t* source) {
    if (y == 0) columns.Start(ring, n);
    // The sums move one row down as they are read.
    uint16_t* sums = columns.sums();
    const uint8_t *entering = columns.Entering(ring, n, y), *leaving = columns.Leaving(ring, n, y);
    ptrdiff_t k = 0;
#if defined(__SSE2__)
    // Sixteen samples at a time, mostly as bytes: the differences above and below the blurred
    // value as saturating subtractions (one of them is 0, the other |d|), the correction in
    // 16 bits (the pack caps it at 255), then added to or taken from the sample with
    // saturation, which is the clamp.
    const __m128i zero = _mm_setzero_si128(), halves = _mm_set1_epi16(int16_t(half));
    const __m128i multipliers = _mm_set1_epi16(int16_t(multiplier)), shifts = _mm_cvtsi32_si128(shift);
    const __m128i thresholds = _mm_set1_epi8(static_cast<char>(threshold));
    const __m128i percents = _mm_set1_epi16(int16_t(percentage.multiplier));
    const __m128i rounds = _mm_set1_epi16(int16_t(percentage.round));
    const __m128i percentShifts = _mm_cvtsi32_si128(percentage.shift);
    const auto correction = [&](__m128i size) {
      return _mm_srl_epi16(_mm_add_epi16(_mm_mulhi_epu16(_mm_slli_epi16(size, 7), percents), rounds), percentShifts);
    };
    for (; k + 16 <= ring.bytes; k += 16) {
      const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + k));
      __m128i* sum = reinterpret_cast<__m128i*>(sums + k);
      const __m128i low = _mm_loadu_si128(sum), high = _mm_loadu_si128(sum + 1);
      const __m128i b = _mm_packus_epi16(DivideLanes(_mm_add_epi16(low, halves), multipliers, shifts),
                                         DivideLanes(_mm_add_epi16(high, halves), multipliers, shifts));
      const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entering + k));
      const __m128i off = _mm_loadu_si128(reinterpret_cast<const __m128i*>(leaving + k));
      _mm_storeu_si128(sum, _mm_sub_epi16(_mm_add_epi16(low, _mm_unpacklo_epi8(in, zero)), _mm_unpacklo_epi8(off, zero)));
      _mm_storeu_si128(sum + 1,
                       _mm_sub_epi16(_mm_add_epi16(high, _mm_unpackhi_epi8(in, zero)), _mm_unpackhi_epi8(off, zero)));
      const __m128i above = _mm_subs_epu8(s, b), below = _mm_subs_epu8(b, s);
      const __m128i size = _mm_or_si128(above, below);
      __m128i c = _mm_packus_epi16(correction(_mm_unpacklo_epi8(size, zero)), correction(_mm_unpackhi_epi8(size, zero)));
      c = _mm_and_si128(c, _mm_cmpeq_epi8(_mm_max_epu8(size, thresholds), size));  // |d| >= threshold
      const __m128i rising = _mm_cmpeq_epi8(below, zero);
      const __m128i raised = _mm_adds_epu8(s, _mm_and_si128(c, rising));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_subs_epu8(raised, _mm_andnot_si128(rising, c)));
    }
#endif
    for (; k < ring.bytes; ++k) {
      const int s = source[k];
      const int b = uint16_t((uint32_t(uint16_t(sums[k] + half)) * multiplier) >> 16) >> shift;
      const int size = std::abs(s - b);
      const int c = size < threshold ? 0 : std::min(255, (50 + size * effect) / 100);
      out[k] = uint8_t(std::clamp(s < b ? s - c : s + c, 0, 255));
      sums[k] = uint16_t(sums[k] + entering[k] - leaving[k]);
    }
  });
  return frame.Finish();
}
