// Effect 53, motion blur: every pixel becomes the mean of a line of up to n pixels that starts
// at itself and runs in one of eight directions. Axis lines keep a running sum and repeat the
// edge pixel past the border; diagonal lines are shortened at the border. A diagonal row adds
// its n shifted source rows whole where the lines are full length and sums the few shortened
// lines at its end one by one.
#include <algorithm>

#include "engine/distort/distort.h"
#include "engine/routine_frame.h"

namespace {

// The step from one sample to the next (columns, stored rows; +1 row is one row higher in the
// picture).
struct Step {
  int dx, dy;
};
constexpr Step kSteps[8] = {
    {+1, -1},  // 1 up-left      diagonal
    {0, -1},   // 2 up           axis
    {-1, -1},  // 3 up-right     diagonal
    {+1, 0},   // 4 left         axis
    {-1, 0},   // 5 right        axis
    {+1, +1},  // 6 down-left    diagonal
    {0, +1},   // 7 down         axis
    {-1, +1},  // 8 down-right   diagonal
};

// One axis line of `length` pixels, `first` being the pixel visited first and `step` the bytes
// to the next one in the direction of the samples. The running sum starts with the first n - 1
// pixels and a zero "pixel to remove"; past the end the edge pixel (the line's last) is added.
template <int kPixelBytes>
void RunningMeanLine(const uint8_t* in, uint8_t* out, ptrdiff_t step, int length, int n) {
  int sum[kPixelBytes] = {};
  int remove[kPixelBytes] = {};
  for (int i = 0; i < n - 1; ++i) {
    for (int c = 0; c < kPixelBytes; ++c) sum[c] += in[i * step + c];
  }
  for (int i = 0; i < length; ++i) {
    const uint8_t* added = in + (i < length - n ? i + n - 1 : length - 1) * step;
    const uint8_t* current = in + i * step;
    for (int c = 0; c < kPixelBytes; ++c) {
      sum[c] += added[c] - remove[c];
      out[i * step + c] = static_cast<uint8_t>(sum[c] / n);
      remove[c] = current[c];
    }
  }
}

// Columns (directions 2 and 7) left to right, or rows (4 and 5) from row 0 upward; each line is
// visited from the end opposite to the step. Abort test before every line, progress
// line x 100 / lines on every 16th.
template <int kPixelBytes>
void AxisLines(RoutineFrame& frame, const Step& step, int n) {
  const DibLayout& layout = frame.layout();
  const int w = layout.width, h = layout.height;
  const ptrdiff_t stride = ptrdiff_t(layout.stride);
  const bool columns = step.dx == 0;
  const int lines = columns ? w : h;
  for (int i = 0; i < lines; ++i) {
    if (!frame.BeginPassStep(i, lines, 0, 100)) return;
    ptrdiff_t first;  // byte offset of the first pixel visited
    ptrdiff_t bytes;  // to the next sample
    int length;
    if (columns) {
      first = (step.dy < 0 ? (h - 1) * stride : 0) + ptrdiff_t{i} * kPixelBytes;
      bytes = step.dy * stride;
      length = h;
    } else {
      first = i * stride + (step.dx < 0 ? ptrdiff_t{w - 1} * kPixelBytes : 0);
      bytes = step.dx * kPixelBytes;
      length = w;
    }
    RunningMeanLine<kPixelBytes>(frame.sourcePixels() + first, frame.resultPixels() + first, bytes, length, n);
  }
}

// Working rows of the diagonal blur: the sums of one row, and the quotients by the current
// line length.
struct DiagonalTables {
  int32_t* sums;       // width x pixel bytes
  uint8_t* quotients;  // 255 x 32 + 1
};

// Rows from the end opposite to the vertical step. The mean at (x, y) takes c samples, c being
// n lowered to the columns and rows left in the step's direction, counting (x, y) itself. The
// first h - n rows visited ask the abort test and report progress; the last n ask only.
template <int kPixelBytes>
void DiagonalRows(RoutineFrame& frame, const Step& step, int n, const DiagonalTables* tables) {
  const DibLayout& layout = frame.layout();
  const int w = layout.width, h = layout.height;
  const ptrdiff_t stride = ptrdiff_t(layout.stride);
  const ptrdiff_t bytes = step.dy * stride + step.dx * kPixelBytes;
  int quotientsOf = 0;  // the length the quotient table holds
  for (int i = 0; i < h; ++i) {
    if (i < h - n ? !frame.BeginPassStep(i, h, 0, 100) : frame.AskAbort()) return;
    const int y = step.dy < 0 ? h - 1 - i : i;
    const int rowsLeft = step.dy < 0 ? y + 1 : h - y;
    const uint8_t* in = frame.sourcePixels() + y * stride;
    uint8_t* out = frame.resultPixels() + y * stride;
    // Full-length lines (as long as the rows allow) start in columns first ... end - 1.
    const int length = std::min(n, rowsLeft);
    int first = 0, end = 0;
    if (tables) {
      first = step.dx < 0 ? length - 1 : 0;
      end = step.dx < 0 ? w : w - length + 1;
      if (quotientsOf != length) {
        for (int s = 0; s <= 255 * length; ++s) tables->quotients[s] = static_cast<uint8_t>(s / length);
        quotientsOf = length;
      }
      const int count = (end - first) * kPixelBytes;
      int32_t* sums = tables->sums;
      for (int j = 0; j < count; ++j) sums[j] = 0;
      for (int k = 0; k < length; ++k) {
        const uint8_t* row = in + ptrdiff_t(first) * kPixelBytes + k * bytes;
        for (int j = 0; j < count; ++j) sums[j] += row[j];
      }
      uint8_t* to = out + ptrdiff_t(first) * kPixelBytes;
      for (int j = 0; j < count; ++j) to[j] = tables->quotients[sums[j]];
    }
    for (int x = 0; x < w; ++x) {
      if (x == first && end > first) {
        x = end - 1;
        continue;
      }
      const int count = std::min({n, step.dx < 0 ? x + 1 : w - x, rowsLeft});
      int sum[kPixelBytes] = {};
      const uint8_t* line = in + x * kPixelBytes;
      for (int k = 0; k < count; ++k) {
        for (int c = 0; c < kPixelBytes; ++c) sum[c] += line[k * bytes + c];
      }
      for (int c = 0; c < kPixelBytes; ++c) out[x * kPixelBytes + c] = static_cast<uint8_t>(sum[c] / count);
    }
  }
}

template <int kPixelBytes>
void BlurLines(RoutineFrame& frame, const Step& step, int n, const DiagonalTables* tables) {
  if (step.dx == 0 || step.dy == 0) {
    AxisLines<kPixelBytes>(frame, step, n);
  } else {
    DiagonalRows<kPixelBytes>(frame, step, n, tables);
  }
}

}  // namespace

HGLOBAL MotionBlur(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const MotionBlurParams*>(record);
  if (params.direction < 1 || params.direction > 8) return nullptr;
  if (params.speed < 2 || params.speed > 32) return nullptr;
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const int n = std::min({params.speed, frame.layout().width, frame.layout().height});
  const Step& step = kSteps[params.direction - 1];
  const int pixelBytes = frame.kind() == kDibRgb24 ? 3 : 1;
  // The diagonal blur's working rows, when they can be made (else every line is summed alone).
  DiagonalTables tables{nullptr, nullptr};
  if (step.dx != 0 && step.dy != 0) {
    tables.sums = frame.AllocateTable<int32_t>(size_t(frame.layout().width) * pixelBytes);
    tables.quotients = frame.AllocateTable<uint8_t>(255 * 32 + 1);
  }
  const DiagonalTables* usable = tables.sums && tables.quotients ? &tables : nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  if (pixelBytes == 3) {
    BlurLines<3>(frame, step, n, usable);
  } else {
    BlurLines<1>(frame, step, n, usable);
  }
  return frame.Finish();
}
