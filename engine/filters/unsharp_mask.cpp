// Effect 18, unsharp mask: the average blur's two passes, with each sample of the vertical
// pass corrected by a percentage of its difference from the blurred value.
#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

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
  ShortDivision hundredths;
  if (!along.Make(frame, n) || !ring.rows || !columns.Make(frame, ring) || !hundredths.Make(100, 25500)) {
    return nullptr;
  }
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // The output is s + c(s - b), clamped to 0 ... 255, with b the blurred value, s the
  // source's own sample and c(d) = 0 for |d| below the threshold, else the rounded percentage
  // (50 + |d| x effect) / 100 with the sign of d. Computed rather than looked up, in 16 bits,
  // so the loop vectorises: a correction of 255 or more moves any sample to the clamp, so
  // |d| x effect is capped at 25450, where the correction reaches 255 (|d| is capped first so
  // that the product stays in 16 bits): the same bytes.
  const int16_t effect = static_cast<int16_t>(params.effect), threshold = static_cast<int16_t>(params.threshold);
  constexpr int16_t kCap = 25450;
  const int16_t saturating = static_cast<int16_t>((kCap + params.effect - 1) / params.effect);
  const ShortDivision& byN = along.division();
  const uint16_t half = uint16_t(n / 2), multiplier = uint16_t(byN.multiplier);
  const uint16_t percent = uint16_t(hundredths.multiplier);
  const int shift = byN.shift, percentShift = hundredths.shift;
  RunFusedPasses(frame, n, ring, along, [&](int y, uint8_t* out, const uint8_t* source) {
    if (y == 0) columns.Start(ring, n);
    // The sums move one row down as they are read.
    uint16_t* sums = columns.sums();
    const uint8_t *entering = columns.Entering(ring, n, y), *leaving = columns.Leaving(ring, n, y);
    ptrdiff_t k = 0;
#if defined(__SSE2__)
    // The same on sixteen samples, mostly as bytes: the differences above and below the blurred
    // value as saturating subtractions (one of them is 0, the other |d|), the correction in
    // 16 bits (the pack caps it at 255), then added to or taken from the sample with
    // saturation, which is the clamp.
    const __m128i zero = _mm_setzero_si128(), halves = _mm_set1_epi16(int16_t(half));
    const __m128i multipliers = _mm_set1_epi16(int16_t(multiplier)), shifts = _mm_cvtsi32_si128(shift);
    const __m128i effects = _mm_set1_epi16(effect), thresholds = _mm_set1_epi8(static_cast<char>(threshold));
    const __m128i saturatings = _mm_set1_epi16(saturating), caps = _mm_set1_epi16(kCap);
    const __m128i fifties = _mm_set1_epi16(50);
    const __m128i percents = _mm_set1_epi16(int16_t(percent)), percentShifts = _mm_cvtsi32_si128(percentShift);
    const auto blurred = [&](__m128i sum) {
      return _mm_srl_epi16(_mm_mulhi_epu16(_mm_add_epi16(sum, halves), multipliers), shifts);
    };
    const auto correction = [&](__m128i size) {
      const __m128i product = _mm_min_epi16(_mm_mullo_epi16(_mm_min_epi16(size, saturatings), effects), caps);
      return _mm_srl_epi16(_mm_mulhi_epu16(_mm_add_epi16(product, fifties), percents), percentShifts);
    };
    for (; k + 16 <= ring.bytes; k += 16) {
      const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + k));
      __m128i* sum = reinterpret_cast<__m128i*>(sums + k);
      const __m128i low = _mm_loadu_si128(sum), high = _mm_loadu_si128(sum + 1);
      const __m128i b = _mm_packus_epi16(blurred(low), blurred(high));
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
      const int16_t s = source[k];
      const int16_t b = int16_t(uint16_t((uint32_t(uint16_t(sums[k] + half)) * multiplier) >> 16) >> shift);
      const int16_t d = int16_t(s - b);
      const int16_t size = d < 0 ? int16_t(-d) : d;
      const int16_t product = std::min(int16_t(std::min(size, saturating) * effect), kCap);
      const uint16_t x = uint16_t(product + 50);
      const int16_t percentage = int16_t(uint16_t((uint32_t(x) * percent) >> 16) >> percentShift);
      const int16_t c = size < threshold ? int16_t(0) : std::min<int16_t>(percentage, 255);
      out[k] = uint8_t(std::clamp<int16_t>(int16_t(d < 0 ? s - c : s + c), 0, 255));
      sums[k] = uint16_t(sums[k] + entering[k] - leaving[k]);
    }
  });
  return frame.Finish();
}
