// Pieces shared by the neighbourhood filters: clamped windows along a line, padded line
// buffers, rounded-mean division tables and the two-pass driver of the separable filters.
#ifndef FXUI_ENGINE_FILTERS_FILTER_LINES_H
#define FXUI_ENGINE_FILTERS_FILTER_LINES_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

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
//
// Copies the `length` samples starting at `first`, `step` bytes apart, into `line` so that
// line[i] is the sample at position clamp(i - n / 2) for i = 0 ... length + n - 1. The window
// of position p is then line[p] ... line[p + n - 1] and the sample that enters it when it
// slides to p + 1 is line[p + n], with no clamping left in the inner loops.
void LoadPaddedLine(const uint8_t* first, ptrdiff_t step, int length, int n, uint8_t* line);

// Entries k = 0 ... 256 x divisor - 1 of a rounded-mean table: (k + divisor / 2) / divisor.
void FillDivisionTable(uint8_t* table, int divisor);

// Running box sum along a padded line: emit(p, sum of line[p] ... line[p + n - 1]) for each
// position. A constant number of operations per sample, whatever n is.
template <typename Emit>
inline void ForEachBoxSum(const uint8_t* line, int length, int n, Emit emit) {
  int sum = 0;
  for (int k = 0; k < n; ++k) sum += line[k];
  for (int p = 0; p < length; ++p) {
    emit(p, sum);
    sum += line[p + n] - line[p];
  }
}

// Filters one line of one channel: `line` is the padded line, each output goes to
// out[p x outStep], and source[p x sourceStep] is the source image's own sample at p.
struct LineArgs {
  const uint8_t* line;
  int length;
  uint8_t* out;
  ptrdiff_t outStep;
  const uint8_t* source;
  ptrdiff_t sourceStep;
};

// The box blur's line: the rounded mean of each window, from the running sum and a
// division table of n x 256 entries.
inline void BoxMeanLine(const LineArgs& a, int n, const uint8_t* divide) {
  uint8_t* out = a.out;
  const ptrdiff_t step = a.outStep;
  ForEachBoxSum(a.line, a.length, n, [&](int p, int sum) { out[p * step] = divide[sum]; });
}

// The line buffer of the separable filters: room for the longer of a row and a column
// padded for side n. Null when it cannot be made.
inline uint8_t* AllocatePaddedLine(RoutineFrame& frame, int n) {
  const DibLayout& layout = frame.layout();
  return frame.AllocateTable<uint8_t>(size_t(std::max(layout.width, layout.height)) + size_t(n));
}

// The two passes of a separable filter with window side n, using `line` from
// AllocatePaddedLine:
//   - horizontal, row by row from the source into the result (abort test before each row,
//     progress row x 50 / height on every 16th row);
//   - vertical, column by column over the result in place (abort test before each column,
//     progress 50 + column x 50 / width on every 16th column); each column is copied into
//     the line buffer before it is written back.
// Each channel of a 24-bit line is handled on its own. After an abort the remaining lines
// are skipped; the frame knows of the abort and Finish gives null.
template <typename Horizontal, typename Vertical>
void RunSeparablePasses(RoutineFrame& frame, int n, uint8_t* line, Horizontal horizontal, Vertical vertical) {
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  const int channels = ChannelsOf(layout);
  const ptrdiff_t stride = layout.stride;
  const uint8_t* source = frame.sourcePixels();
  uint8_t* result = frame.resultPixels();

  for (int row = 0; row < height; ++row) {
    if (!frame.BeginPassStep(row, height, 0, 50)) return;
    const uint8_t* in = source + row * stride;
    uint8_t* out = result + row * stride;
    for (int c = 0; c < channels; ++c) {
      LoadPaddedLine(in + c, channels, width, n, line);
      horizontal(LineArgs{line, width, out + c, channels, in + c, channels});
    }
  }
  for (int column = 0; column < width; ++column) {
    if (!frame.BeginPassStep(column, width, 50, 50)) return;
    for (int c = 0; c < channels; ++c) {
      const ptrdiff_t offset = ptrdiff_t(column) * channels + c;
      LoadPaddedLine(result + offset, stride, height, n, line);
      vertical(LineArgs{line, height, result + offset, stride, source + offset, stride});
    }
  }
}

// The blurs that finish on the source (softened blur, unsharp mask): the box mean along the
// rows, then along the columns out = finish(box sum, the source image's own sample).
template <typename Finish>
void RunBoxPassesFinishingOnSource(RoutineFrame& frame, int n, uint8_t* line, const uint8_t* divide, Finish finish) {
  const auto horizontal = [&](const LineArgs& a) { BoxMeanLine(a, n, divide); };
  const auto vertical = [&](const LineArgs& a) {
    ForEachBoxSum(a.line, a.length, n, [&](int p, int sum) {
      a.out[p * a.outStep] = finish(sum, a.source[p * a.sourceStep]);
    });
  };
  RunSeparablePasses(frame, n, line, horizontal, vertical);
}

#endif
