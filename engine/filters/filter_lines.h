// Pieces shared by the neighbourhood filters: clamped windows along a line, rounded-mean
// division, running sums and totals, and the two-pass driver of the separable blurs.
#ifndef FXUI_ENGINE_FILTERS_FILTER_LINES_H
#define FXUI_ENGINE_FILTERS_FILTER_LINES_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/routine_frame.h"

// Smallest and largest side of the square windows that effects 8, 17, 18, 20 and 21 accept.
constexpr int kMinSquareSize = 2;
constexpr int kMaxSquareSize = 32;

inline bool IsSquareSize(int32_t n) { return n >= kMinSquareSize && n <= kMaxSquareSize; }

// Samples per pixel: 3 (blue, green, red) for 24-bit images, 1 for grey ramps.
inline int ChannelsOf(const DibLayout& layout) { return layout.bitCount == 24 ? 3 : 1; }

// Position p clamped into a line of `length` samples: edge samples repeat.
inline int ClampToLine(int p, int length) { return std::clamp(p, 0, length - 1); }

// The window of side n at position p covers p - n / 2 ... p - n / 2 + n - 1, clamped into
// the line: centred for odd n, one sample more behind than ahead for even n.

// Rounded mean of sums of `divisor` samples: (sum + divisor / 2) / divisor. A table of
// 256 x divisor entries up to a fixed budget; past it (only the softened blur's divisors,
// which follow its record, get there) the division itself, with the same results.
class RoundedMean {
 public:
  // False when the table cannot be made.
  bool Make(RoutineFrame& frame, int divisor);
  uint8_t operator()(int sum) const {
    return table_ ? table_[sum] : static_cast<uint8_t>(std::min((sum + half_) / divisor_, 255));
  }
  // The table, or null when the divisor is past the budget.
  const uint8_t* table() const { return table_; }

 private:
  const uint8_t* table_ = nullptr;
  int divisor_ = 1;
  int half_ = 0;
};

// The sum of the window of position 0 along a line of `length` samples, at(i) giving the
// sample at position i: slots 0 ... n / 2 repeat position 0, slot i + n / 2 holds position i,
// the slots from length - 1 + n / 2 on repeat the last position. Takes at most n steps
// whatever the side, and no more than the line has positions.
template <typename At>
inline int FirstWindowSum(int length, int n, At at) {
  const int back = n / 2;
  if (length == 1) return n * at(0);
  int sum = (back + 1) * at(0);
  const int inner = std::min(length - 2, n - 1 - back);
  for (int i = 1; i <= inner; ++i) sum += at(i);
  return sum + std::max(0, n - (length - 1 + back)) * at(length - 1);
}

// Running box sum along a line: emit(p, sum of the clamped window of p) for each position.
// A constant number of operations per sample whatever n is; no padding, so the memory used
// does not grow with n.
template <typename At, typename Emit>
inline void ForEachBoxSum(int length, int n, At at, Emit emit) {
  const int back = n / 2;
  const int last = length - 1;
  int sum = FirstWindowSum(length, n, at);
  for (int p = 0; p < length; ++p) {
    emit(p, sum);
    const int leaving = p - back, entering = p - back + n;
    if (leaving >= 0 && entering <= last) {
      sum += at(entering) - at(leaving);
    } else {
      sum += at(std::clamp(entering, 0, last)) - at(std::clamp(leaving, 0, last));
    }
  }
}

// One row of the horizontal pass: `width` pixels of `channels` samples, from the source row
// into the row of the ring that the vertical pass reads.
struct RowArgs {
  const uint8_t* in;
  uint8_t* out;
  int width;
  int channels;
};

// Division of 0 ... largest by a small divisor as a multiply and two shifts on 16-bit values:
// ((x x multiplier) >> 16) >> shift == x / divisor for every such x, checked when made, so
// that loops over whole rows vectorise (a table lookup per sample does not).
struct ShortDivision {
  int divisor = 1;
  uint32_t multiplier = 0;
  int shift = 0;
  // False when no multiplier below 2^16 is exact over the range.
  // The multiplier rounds up, so the product overshoots x / divisor by an amount growing with
  // x: the first wrong quotient is at the top of a run of equal ones, x = q x divisor - 1, and
  // only those x (and `largest`) need checking.
  bool Make(int by, int largest) {
    divisor = by;
    const auto exactAt = [this](uint32_t m, int x) {
      return int(((uint32_t(x) * m) >> 16) >> shift) == x / divisor;
    };
    for (shift = 0; shift < 16; ++shift) {
      const uint32_t m = uint32_t(((uint64_t{1} << (16 + shift)) + uint64_t(divisor) - 1) / uint64_t(divisor));
      if (m > 65535) return false;
      bool exact = exactAt(m, largest);
      for (int x = divisor - 1; x <= largest && exact; x += divisor) exact = exactAt(m, x);
      if (exact) {
        multiplier = m;
        return true;
      }
    }
    return false;
  }
};

// Largest n + m the 16-bit box passes take: 255 x 256 + 128 stays below 2^16.
constexpr int kMaxShortDivisor = 256;

// The rows of the horizontal pass that the vertical pass of side n still needs around output
// row y, image rows y - n / 2 ... y - n / 2 + n clamped: a ring of min(n + 1, height) rows of
// the picture's width (so never more rows than the picture has).
struct RowRing {
  uint8_t* rows = nullptr;
  ptrdiff_t bytes = 0;   // samples of a row
  ptrdiff_t stride = 0;  // from one row to the next
  int count = 1;
  int height = 1;
  // The horizontal result of image row clamp(r).
  uint8_t* Row(int r) const { return rows + ptrdiff_t(ClampToLine(r, height) % count) * stride; }
};

// The ring for side n; its rows are null when it cannot be made. Rows lie an odd number of
// cache lines apart: rows a power of two apart (6144 bytes is 1.5 x 4096) would share a few
// sets of the first-level cache, and a column pass reading n of them at once would thrash it.
inline RowRing AllocateRing(RoutineFrame& frame, int64_t n) {
  const DibLayout& layout = frame.layout();
  RowRing ring;
  ring.bytes = ptrdiff_t(layout.width) * ChannelsOf(layout);
  ring.stride = (ring.bytes / 128 + 1) * 128 + 64;
  ring.height = layout.height;
  ring.count = static_cast<int>(std::min<int64_t>(n + 1, layout.height));
  ring.rows = frame.AllocateTable<uint8_t>(size_t(ring.count) * size_t(ring.stride));
  return ring;
}

// The two passes of a separable filter of side n, fused by rows so that the horizontal
// result stays in cache and the result is written once: horizontal(row args into the ring)
// filters source row r along the row just before the first output row that needs it, and
// vertical(y, result row, source row) writes output row y from the ring rows around it.
// The abort tests and progress reports are those of the two passes run one after the other:
// one per row as the rows are made (progress row x 50 / height on every 16th row), then, once
// every output row is written, one per column (50 + column x 50 / width on every 16th
// column). Working ahead of the reports changes nothing a caller sees: the result is handed
// over only at the end and freed after an abort.
template <typename Horizontal, typename Vertical>
void RunFusedPasses(RoutineFrame& frame, int64_t n, const RowRing& ring, Horizontal horizontal, Vertical vertical) {
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  const ptrdiff_t stride = layout.stride;
  const uint8_t* source = frame.sourcePixels();
  uint8_t* result = frame.resultPixels();
  // Output row y needs rows up to y - n / 2 + n; the last one always needs the last row.
  const int64_t ahead = n - n / 2;
  int made = 0;
  for (int y = 0; y < height; ++y) {
    const int needed = static_cast<int>(std::min<int64_t>(y + ahead, height - 1));
    for (; made <= needed; ++made) {
      if (!frame.BeginPassStep(made, height, 0, 50)) return;
      horizontal(RowArgs{source + made * stride, ring.Row(made), width, ChannelsOf(layout)});
    }
    vertical(y, result + y * stride, source + y * stride);
  }
  for (int column = 0; column < width; ++column) {
    if (!frame.BeginPassStep(column, width, 50, 50)) return;
  }
}

// Running totals along a line of `length` samples, each channel of `unit` samples (1 or 3) on
// its own, modulo 2^16, going on from the totals[0 ... unit - 1] given: totals[unit + k] =
// totals[k] + line[k]. The sum of the n units from k is then totals[k + n x unit] - totals[k],
// exact in 16 bits while it is below 2^16 (n at most kMaxShortDivisor). `totals` has room for
// length + unit values.
void RunningTotals(const uint8_t* line, ptrdiff_t length, int unit, uint16_t* totals);

// The running totals of a row as if padded for windows of side n, without copying it: n / 2
// copies of the first pixel, the row, then n - 1 - n / 2 copies of the last pixel, so that
// the window of pixel p is units p ... p + n - 1 and sums to totals[(p + n) x channels + c] -
// totals[p x channels + c]. `totals` has room for (width + n) x channels values.
void PaddedRowTotals(const RowArgs& a, int n, uint16_t* totals);

#if defined(__SSE2__)
// ((x x multiplier) >> 16) >> shift on eight 16-bit lanes: the high half of the product is one
// instruction (the compiler, left alone, widens the product to 32 bits).
inline __m128i DivideLanes(__m128i x, __m128i multipliers, __m128i shifts) {
  return _mm_srl_epi16(_mm_mulhi_epu16(x, multipliers), shifts);
}
#endif

// out[k] = (sums[k] - less[k] + divisor / 2) / divisor for k < count, the divisor being that
// of `divide`, made for the range 0 ... 255 x divisor + divisor / 2 (below 2^16); sums and
// less modulo 2^16.
inline void DivideSums(const uint16_t* sums, const uint16_t* less, const ShortDivision& divide, uint8_t* out,
                       ptrdiff_t count) {
  const uint16_t half = uint16_t(divide.divisor / 2), multiplier = uint16_t(divide.multiplier);
  const int shift = divide.shift;
  ptrdiff_t k = 0;
#if defined(__SSE2__)
  const __m128i halves = _mm_set1_epi16(int16_t(half)), multipliers = _mm_set1_epi16(int16_t(multiplier));
  const __m128i shifts = _mm_cvtsi32_si128(shift);
  for (; k + 16 <= count; k += 16) {
    const auto lanes = [&](ptrdiff_t at) {
      const __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + at));
      const __m128i minus = _mm_loadu_si128(reinterpret_cast<const __m128i*>(less + at));
      return DivideLanes(_mm_add_epi16(_mm_sub_epi16(sum, minus), halves), multipliers, shifts);
    };
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(lanes(k), lanes(k + 8)));
  }
#endif
  for (; k < count; ++k) {
    const uint16_t x = uint16_t(sums[k] - less[k] + half);
    out[k] = uint8_t(uint16_t((uint32_t(x) * multiplier) >> 16) >> shift);
  }
}

// One output row of the 16-bit column pass of the box blurs, in one pass over the sums:
// out[k] = (sums[k] + weight x source[k] + divisor / 2) / divisor by `divide` (made as for
// DivideSums), then the sums move one row down, sums[k] += entering[k] - leaving[k].
inline void DivideAndSlide(uint16_t* sums, const uint8_t* entering, const uint8_t* leaving, const uint8_t* source,
                           int weight, const ShortDivision& divide, uint8_t* out, ptrdiff_t count) {
  const uint16_t half = uint16_t(divide.divisor / 2), multiplier = uint16_t(divide.multiplier), m = uint16_t(weight);
  const int shift = divide.shift;
  ptrdiff_t k = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), halves = _mm_set1_epi16(int16_t(half));
  const __m128i weights = _mm_set1_epi16(int16_t(m)), multipliers = _mm_set1_epi16(int16_t(multiplier));
  const __m128i shifts = _mm_cvtsi32_si128(shift);
  for (; k + 16 <= count; k += 16) {
    __m128i* sum = reinterpret_cast<__m128i*>(sums + k);
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + k));
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entering + k));
    const __m128i off = _mm_loadu_si128(reinterpret_cast<const __m128i*>(leaving + k));
    const __m128i low = _mm_loadu_si128(sum), high = _mm_loadu_si128(sum + 1);
    const __m128i x0 = _mm_add_epi16(_mm_add_epi16(low, halves), _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), weights));
    const __m128i x1 = _mm_add_epi16(_mm_add_epi16(high, halves), _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), weights));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k),
                     _mm_packus_epi16(DivideLanes(x0, multipliers, shifts), DivideLanes(x1, multipliers, shifts)));
    _mm_storeu_si128(sum, _mm_sub_epi16(_mm_add_epi16(low, _mm_unpacklo_epi8(in, zero)), _mm_unpacklo_epi8(off, zero)));
    _mm_storeu_si128(sum + 1,
                     _mm_sub_epi16(_mm_add_epi16(high, _mm_unpackhi_epi8(in, zero)), _mm_unpackhi_epi8(off, zero)));
  }
#endif
  for (; k < count; ++k) {
    const uint16_t x = uint16_t(sums[k] + m * source[k] + half);
    out[k] = uint8_t(uint16_t((uint32_t(x) * multiplier) >> 16) >> shift);
    sums[k] = uint16_t(sums[k] + entering[k] - leaving[k]);
  }
}

// The horizontal pass of the box blurs: the window sums of each row taken as differences of
// running totals in 16 bits, divided by multiply and shift over the whole row.
class BoxMeansAlongRows {
 public:
  // False when n is past kMaxShortDivisor, the division is not exact or a buffer cannot be
  // made (only the softened blur, whose side follows its record, then sums with clamped
  // positions).
  bool Make(RoutineFrame& frame, int n);
  void operator()(const RowArgs& a) const;
  // The division by n, for the vertical pass.
  const ShortDivision& division() const { return divide_; }

 private:
  int n_ = 2;
  uint16_t* totals_ = nullptr;
  ShortDivision divide_;
};

// Running box sums of side n down the columns, one per row sample, of 16 or 32 bits: Start
// takes the windows of output row 0, Slide moves them from row y to row y + 1 (adding the
// ring row entering the window and taking off the one leaving it; DivideAndSlide and the
// unsharp mask do the same as they read the sums).
template <typename Sum>
class ColumnSums {
 public:
  bool Make(RoutineFrame& frame, const RowRing& ring) {
    bytes_ = ring.bytes;
    sums_ = frame.AllocateTable<Sum>(size_t(bytes_));
    return sums_ != nullptr;
  }
  // Like FirstWindowSum over whole rows: at most n row additions, and no more than the
  // picture has rows.
  void Start(const RowRing& ring, int64_t n) {
    const int height = ring.height;
    const int64_t back = n / 2;
    if (height == 1) {
      Scale(ring.Row(0), Sum(n), 0);
      return;
    }
    Scale(ring.Row(0), Sum(back + 1), 0);
    const int inner = static_cast<int>(std::min<int64_t>(height - 2, n - 1 - back));
    for (int i = 1; i <= inner; ++i) Scale(ring.Row(i), 1, 1);
    Scale(ring.Row(height - 1), Sum(std::max<int64_t>(0, n - (height - 1 + back))), 1);
  }
  // The rows entering and leaving the windows as they move from output row y to y + 1.
  static const uint8_t* Entering(const RowRing& ring, int64_t n, int y) {
    return ring.Row(static_cast<int>(std::min<int64_t>(y - n / 2 + n, ring.height)));
  }
  static const uint8_t* Leaving(const RowRing& ring, int64_t n, int y) {
    return ring.Row(static_cast<int>(std::max<int64_t>(y - n / 2, -1)));
  }
  void Slide(const RowRing& ring, int64_t n, int y) {
    const uint8_t *entering = Entering(ring, n, y), *leaving = Leaving(ring, n, y);
    for (ptrdiff_t k = 0; k < bytes_; ++k) sums_[k] = Sum(sums_[k] + entering[k] - leaving[k]);
  }
  Sum* sums() const { return sums_; }

 private:
  // sums = keep x sums + row x factor (keep 0 or 1).
  void Scale(const uint8_t* row, Sum factor, Sum keep) {
    for (ptrdiff_t k = 0; k < bytes_; ++k) sums_[k] = Sum(keep * sums_[k] + factor * row[k]);
  }
  Sum* sums_ = nullptr;
  ptrdiff_t bytes_ = 0;
};

#endif
