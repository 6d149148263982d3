// Pieces shared by the neighbourhood filters: clamped windows along a line, padded line
// buffers, rounded-mean division, running extremes and the two-pass driver of the separable
// filters.
#ifndef FXUI_ENGINE_FILTERS_FILTER_LINES_H
#define FXUI_ENGINE_FILTERS_FILTER_LINES_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/routine_frame.h"

// Smallest and largest side of the square windows that effects 8, 17, 18, 20 and 21 accept.
constexpr int kMinSquareSize = 2;
constexpr int kMaxSquareSize = 32;

// The vertical pass runs over strips of this many columns, row by row within a strip, so
// that it reads whole cache lines instead of one sample a row apart.
constexpr int kStripColumns = 64;
constexpr int kMaxStripBytes = kStripColumns * 3;

inline bool IsSquareSize(int32_t n) { return n >= kMinSquareSize && n <= kMaxSquareSize; }

// Samples per pixel: 3 (blue, green, red) for 24-bit images, 1 for grey ramps.
inline int ChannelsOf(const DibLayout& layout) { return layout.bitCount == 24 ? 3 : 1; }

// Position p clamped into a line of `length` samples: edge samples repeat.
inline int ClampToLine(int p, int length) { return std::clamp(p, 0, length - 1); }

// The window of side n at position p covers p - n / 2 ... p - n / 2 + n - 1, clamped into
// the line: centred for odd n, one sample more behind than ahead for even n.
//
// Copies the `length` units (pixels of `unit` bytes, or strip rows) starting at `first`,
// `step` bytes apart, into `line` so that unit i of the line is the one at position
// clamp(i - n / 2), for i = 0 ... length + n - 2. The window of position p is then units
// p ... p + n - 1, with no clamping left in the inner loops.
void LoadPaddedUnits(const uint8_t* first, ptrdiff_t step, int length, int unit, int n, uint8_t* line);

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
// into the result row.
struct RowArgs {
  const uint8_t* in;
  uint8_t* out;
  int width;
  int channels;
};

// One strip of the vertical pass: a copy of the strip's rows of the horizontal result
// (`bytes` samples each; when padded for side n, row i is the image row clamp(i - n / 2) for
// i = 0 ... height + n - 2, else row i is image row i), the result's rows to write and the
// source image's own rows at the same place. The copy is the pass's own: a filter may work
// in it.
struct StripArgs {
  uint8_t* rows;
  int bytes;
  int height;
  uint8_t* out;
  const uint8_t* source;
  ptrdiff_t stride;  // of both out and source
  uint8_t* Row(int i) const { return rows + ptrdiff_t(i) * bytes; }
};

// The strip buffer of the separable filters, padded for side n when `paddedFor` is n, not
// padded when it is 0. Null when it cannot be made.
inline uint8_t* AllocateStrip(RoutineFrame& frame, int paddedFor) {
  const DibLayout& layout = frame.layout();
  const size_t rows = size_t(layout.height) + size_t(paddedFor > 0 ? paddedFor - 1 : 0);
  return frame.AllocateTable<uint8_t>(rows * size_t(std::min(layout.width, kStripColumns) * ChannelsOf(layout)));
}

// The two passes of a separable filter, using `strip` from AllocateStrip(frame, paddedFor):
//   - horizontal, row by row from the source into the result (abort test before each row,
//     progress row x 50 / height on every 16th row);
//   - vertical over the result in place, column by column as far as the abort test and the
//     progress reports go (abort test before each column, progress 50 + column x 50 / width
//     on every 16th column): the tests and reports of a strip's columns are made before the
//     strip is copied and filtered.
// After an abort the remaining lines are skipped; the frame knows of the abort and Finish
// gives null.
template <typename Horizontal, typename Vertical>
void RunSeparablePasses(RoutineFrame& frame, int paddedFor, uint8_t* strip, Horizontal horizontal, Vertical vertical) {
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  const int channels = ChannelsOf(layout);
  const ptrdiff_t stride = layout.stride;
  const uint8_t* source = frame.sourcePixels();
  uint8_t* result = frame.resultPixels();

  for (int row = 0; row < height; ++row) {
    if (!frame.BeginPassStep(row, height, 0, 50)) return;
    horizontal(RowArgs{source + row * stride, result + row * stride, width, channels});
  }
  for (int column = 0; column < width; column += kStripColumns) {
    const int columns = std::min(kStripColumns, width - column);
    for (int k = column; k < column + columns; ++k) {
      if (!frame.BeginPassStep(k, width, 50, 50)) return;
    }
    const ptrdiff_t offset = ptrdiff_t(column) * channels;
    const int bytes = columns * channels;
    if (paddedFor > 0) {
      LoadPaddedUnits(result + offset, stride, height, bytes, paddedFor, strip);
    } else {
      for (int y = 0; y < height; ++y) std::copy_n(result + offset + y * stride, bytes, strip + ptrdiff_t(y) * bytes);
    }
    vertical(StripArgs{strip, bytes, height, result + offset, source + offset, stride});
  }
}

// The box mean along a row, each channel on its own.
inline void BoxMeanRow(const RowArgs& a, int n, const RoundedMean& mean) {
  for (int c = 0; c < a.channels; ++c) {
    const uint8_t* in = a.in + c;
    uint8_t* out = a.out + c;
    const int step = a.channels;
    ForEachBoxSum(a.width, n, [&](int i) { return int(in[i * step]); },
                  [&](int p, int sum) { out[p * step] = mean(sum); });
  }
}

// The same along a row copied into `padded` (room for width + n pixels) for a side with a
// division table: every channel in one loop, no clamping.
template <int kChannels>
void BoxMeanPaddedRow(const RowArgs& a, int n, const uint8_t* divide, uint8_t* padded) {
  LoadPaddedUnits(a.in, kChannels, a.width, kChannels, n, padded);
  int sums[kChannels] = {};
  for (int k = 0; k < n; ++k) {
    for (int c = 0; c < kChannels; ++c) sums[c] += padded[k * kChannels + c];
  }
  const uint8_t* leaving = padded;
  const uint8_t* entering = padded + n * kChannels;  // the unit past the padding is never used
  uint8_t* out = a.out;
  for (int x = 0; x < a.width; ++x, out += kChannels, leaving += kChannels, entering += kChannels) {
    for (int c = 0; c < kChannels; ++c) {
      out[c] = divide[sums[c]];
      sums[c] += entering[c] - leaving[c];
    }
  }
}

// The padded row of BoxMeanPaddedRow, for sides up to kMaxSquareSize. Null when it cannot be
// made or n is larger (the rows are then summed with clamped positions).
inline uint8_t* AllocateBoxRow(RoutineFrame& frame, int n) {
  if (n > kMaxSquareSize) return nullptr;
  const DibLayout& layout = frame.layout();
  return frame.AllocateTable<uint8_t>((size_t(layout.width) + size_t(n)) * ChannelsOf(layout));
}

// Box sums down an unpadded strip: out = finish(sum of the clamped window, source sample)
// row by row, with one running sum per strip sample.
template <typename Finish>
void BoxSumsDownStrip(const StripArgs& a, int n, Finish finish) {
  int32_t sums[kMaxStripBytes];
  const int bytes = a.bytes, height = a.height, back = n / 2;
  // The first window's sums, counted like FirstWindowSum over whole rows.
  if (height == 1) {
    for (int b = 0; b < bytes; ++b) sums[b] = n * a.rows[b];
  } else {
    const int first = back + 1, inner = std::min(height - 2, n - 1 - back);
    const int lastCount = std::max(0, n - (height - 1 + back));
    const uint8_t* last = a.Row(height - 1);
    for (int b = 0; b < bytes; ++b) sums[b] = first * a.rows[b] + lastCount * last[b];
    for (int i = 1; i <= inner; ++i) {
      const uint8_t* row = a.Row(i);
      for (int b = 0; b < bytes; ++b) sums[b] += row[b];
    }
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* out = a.out + y * a.stride;
    const uint8_t* source = a.source + y * a.stride;
    for (int b = 0; b < bytes; ++b) out[b] = finish(sums[b], source[b]);
    const uint8_t* entering = a.Row(ClampToLine(y - back + n, height));
    const uint8_t* leaving = a.Row(ClampToLine(y - back, height));
    for (int b = 0; b < bytes; ++b) sums[b] += entering[b] - leaving[b];
  }
}

// Division of 0 ... largest by a small divisor as a multiply and two shifts on 16-bit values:
// ((x x multiplier) >> 16) >> shift == x / divisor for every such x, checked when made, so
// that loops over whole rows vectorise (a table lookup per sample does not).
struct ShortDivision {
  uint32_t multiplier = 0;
  int shift = 0;
  // False when no multiplier below 2^16 is exact over the range (callers keep their tables).
  // The multiplier rounds up, so the product overshoots x / divisor by an amount growing with
  // x: the first wrong quotient is at the top of a run of equal ones, x = q x divisor - 1, and
  // only those x (and `largest`) need checking.
  bool Make(int divisor, int largest) {
    const auto exactAt = [this, divisor](uint32_t m, int x) {
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

// Largest n + m the 16-bit vertical pass below takes: 255 x 256 + 128 stays below 2^16.
constexpr int kMaxShortDivisor = 256;

// Rounded means down an unpadded strip: 16-bit running box sums S of side n and
// out = (S + m x source sample + d / 2) / d with d = n + m (m = 0: the box mean), through
// `divide` made for the range 0 ... 255 x d + d / 2; d at most kMaxShortDivisor. Whole rows
// at a time, so the loops vectorise.
inline void BoxMeansDownStrip(const StripArgs& a, int n, int m, const ShortDivision& divide) {
  uint16_t sums[kMaxStripBytes];
  const int bytes = a.bytes, height = a.height, back = n / 2;
  if (height == 1) {
    for (int b = 0; b < bytes; ++b) sums[b] = uint16_t(n * a.rows[b]);
  } else {
    const int first = back + 1, inner = std::min(height - 2, n - 1 - back);
    const int lastCount = std::max(0, n - (height - 1 + back));
    const uint8_t* last = a.Row(height - 1);
    for (int b = 0; b < bytes; ++b) sums[b] = uint16_t(first * a.rows[b] + lastCount * last[b]);
    for (int i = 1; i <= inner; ++i) {
      const uint8_t* row = a.Row(i);
      for (int b = 0; b < bytes; ++b) sums[b] = uint16_t(sums[b] + row[b]);
    }
  }
  const uint16_t half = uint16_t((n + m) / 2), multiplier = uint16_t(divide.multiplier), weight = uint16_t(m);
  const int shift = divide.shift;
  for (int y = 0; y < height; ++y) {
    uint8_t* out = a.out + y * a.stride;
    const uint8_t* source = a.source + y * a.stride;
    for (int b = 0; b < bytes; ++b) {
      const uint16_t x = uint16_t(sums[b] + uint16_t(weight * source[b]) + half);
      out[b] = uint8_t(uint16_t((uint32_t(x) * multiplier) >> 16) >> shift);
    }
    const uint8_t* entering = a.Row(ClampToLine(y - back + n, height));
    const uint8_t* leaving = a.Row(ClampToLine(y - back, height));
    for (int b = 0; b < bytes; ++b) sums[b] = uint16_t(sums[b] + entering[b] - leaving[b]);
  }
}

// The box mean along one row: over `padded` from AllocateBoxRow when there is one and the mean
// has a table, else with clamped positions.
inline void BoxMeanAlongRow(const RowArgs& a, int n, uint8_t* padded, const RoundedMean& mean) {
  const uint8_t* divide = mean.table();
  if (padded && divide && a.channels == 3) {
    BoxMeanPaddedRow<3>(a, n, divide, padded);
  } else if (padded && divide) {
    BoxMeanPaddedRow<1>(a, n, divide, padded);
  } else {
    BoxMeanRow(a, n, mean);
  }
}

// The blurs that finish on the source (softened blur, unsharp mask) and the average: the box
// mean along the rows (over `padded` from AllocateBoxRow when there is one and the mean has a
// table), then down the columns out = finish(box sum, the source image's own sample). The
// strip is not padded.
template <typename Finish>
void RunBoxPassesFinishingOnSource(RoutineFrame& frame, int n, uint8_t* strip, uint8_t* padded,
                                   const RoundedMean& mean, Finish finish) {
  RunSeparablePasses(
      frame, 0, strip, [&](const RowArgs& a) { BoxMeanAlongRow(a, n, padded, mean); },
      [&](const StripArgs& a) { BoxSumsDownStrip(a, n, finish); });
}

// Running extreme (largest when kMaximum, else smallest) over windows of n units of `unit`
// bytes in a padded line of `units` units, in place: doubling passes leave unit i holding the
// extreme of units i ... i + P - 1 for the largest power of two P <= n, and the window of
// position p is then the extreme of units p and p + n - P. Returns n - P. About log2(n)
// passes over the line whatever the side, each a plain loop the compiler vectorises.
template <bool kMaximum>
int DoubleExtremes(uint8_t* line, int units, int unit, int n) {
  int span = 1;
  for (; span * 2 <= n; span *= 2) {
    const ptrdiff_t count = ptrdiff_t(units - span) * unit, ahead = ptrdiff_t(span) * unit;
    for (ptrdiff_t k = 0; k < count; ++k) {
      line[k] = kMaximum ? std::max(line[k], line[k + ahead]) : std::min(line[k], line[k + ahead]);
    }
  }
  return n - span;
}

template <bool kMaximum>
inline void CombineExtremes(const uint8_t* a, const uint8_t* b, uint8_t* out, int count) {
  for (int k = 0; k < count; ++k) out[k] = kMaximum ? std::max(a[k], b[k]) : std::min(a[k], b[k]);
}

#endif
