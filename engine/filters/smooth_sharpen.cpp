// Effects 16 and 19: two 3 x 3 filters without a dialog. Edge-preserving smoothing takes
// the mean of the neighbourhood where the Sobel edge strength is small; one-axis sharpening
// raises each sample against its two neighbours along rows or along columns.
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"
#include "engine/wide_kernels.h"

namespace {

constexpr int kEdgeLimit = 128;  // |gx| + |gy| below this counts as a flat neighbourhood

// Shared single pass: header and palette, the discarded abort query, then each stored row
// with its neighbouring rows clamped into the image. `row(previous, current, next, out)`
// fills one result row.
template <typename RowWork>
HGLOBAL RunRows(RoutineFrame& frame, RowWork row) {
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  const DibLayout& layout = frame.layout();
  const ptrdiff_t stride = layout.stride;
  const uint8_t* source = frame.sourcePixels();
  for (int y = 0; y < layout.height; ++y) {
    if (!frame.BeginRow(y)) break;
    const uint8_t* previous = source + std::max(y - 1, 0) * stride;
    const uint8_t* next = source + std::min(y + 1, layout.height - 1) * stride;
    row(previous, source + y * stride, next, frame.resultPixels() + y * stride);
  }
  return frame.Finish();
}

// Each smoothing window is three columns of three samples. Per byte of the row, the column's
// sum t, its Sobel-weighted sum s = t + centre and its difference d = lower - upper row
// are made once; then, with l and r the columns of the left and right pixel,
//   gx = s[r] - s[l], gy = d[l] + 2 d + d[r], the sum of nine t[l] + t + t[r].
// The column lines have one pixel more on each side, the row's edge columns repeated, so
// that the loops run over the whole row with fixed offsets. All in 16-bit lanes, which the
// compiler vectorises eight at a time: the gradients stay within +-1020 and the sum of nine
// within 2299.
FXUI_KERNEL_BODY void SobelColumns(const uint8_t* __restrict up, const uint8_t* __restrict mid, const uint8_t* __restrict down,
                  int16_t* __restrict t, int16_t* __restrict s, int16_t* __restrict d, ptrdiff_t count) {
  for (ptrdiff_t j = 0; j < count; ++j) {
    const int16_t sum = int16_t(up[j] + mid[j] + down[j]);
    t[j] = sum;
    s[j] = int16_t(sum + mid[j]);
    d[j] = int16_t(down[j] - up[j]);
  }
}

FXUI_KERNEL_BODY void SmoothRow(const int16_t* __restrict t, const int16_t* __restrict s, const int16_t* __restrict d,
               const uint8_t* __restrict mid, uint8_t* __restrict out, ptrdiff_t count, int channels) {
  const ptrdiff_t l = -channels, r = channels;
  for (ptrdiff_t j = 0; j < count; ++j) {
    const int16_t gx = int16_t(s[j + r] - s[j + l]);
    const int16_t gy = int16_t(d[j + l] + 2 * d[j] + d[j + r]);
    const int16_t strength = int16_t((gx < 0 ? -gx : gx) + (gy < 0 ? -gy : gy));
    // The rounded mean of nine samples, at most (9 x 255 + 4) / 9 = 255: (x x 7282) >> 16
    // is x / 9 for every x up to 2299 (the product overshoots by 2x / (9 x 2^16) < 1 / 9).
    const uint16_t sum = uint16_t(t[j + l] + t[j] + t[j + r] + 4);
    const uint16_t mean = uint16_t((uint32_t(sum) * 7282u) >> 16);
    const uint8_t centre = mid[j];  // read on every path, so that the select has no branch
    out[j] = static_cast<uint8_t>(strength < kEdgeLimit ? mean : centre);
  }
}

// Samples per piece of a row: the piece's three column lines (16-bit) stay in the first-level
// cache between the two loops.
constexpr ptrdiff_t kSmoothPiece = 1024;

// One result row from its three source rows, piece by piece through `columns` (three lines
// of kSmoothPiece samples plus one pixel on each side).
struct SmoothRowArgs {
  const uint8_t* up;
  const uint8_t* mid;
  const uint8_t* down;
  uint8_t* out;
  int16_t* columns;
  ptrdiff_t count;
  int channels;
};

template <bool kWide>
FXUI_KERNEL_BODY void SmoothWholeRowBody(const SmoothRowArgs& a) {
  const ptrdiff_t c = a.channels, line = kSmoothPiece + 2 * c;
  int16_t* const t = a.columns + c;  // t[i]: the column of sample first + i, for -c <= i < n + c
  int16_t* const s = t + line;
  int16_t* const d = s + line;
  for (ptrdiff_t first = 0; first < a.count; first += kSmoothPiece) {
    const ptrdiff_t n = std::min(kSmoothPiece, a.count - first);
    const ptrdiff_t from = std::max<ptrdiff_t>(first - c, 0), to = std::min(first + n + c, a.count);
    const ptrdiff_t at = from - first;
    SobelColumns(a.up + from, a.mid + from, a.down + from, t + at, s + at, d + at, to - from);
    // The row's edge columns repeated past its ends.
    for (int16_t* column : {t, s, d}) {
      if (first == 0) std::copy_n(column, c, column - c);
      if (first + n == a.count) std::copy_n(column + n - c, c, column + n);
    }
    SmoothRow(t, s, d, a.mid + first, a.out + first, n, a.channels);
  }
}

FXUI_DUAL_KERNEL(SmoothWholeRow, const SmoothRowArgs&)

}  // namespace

HGLOBAL EdgePreservingSmooth(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const int width = frame.layout().width;
  const int channels = ChannelsOf(frame.layout());
  const ptrdiff_t count = ptrdiff_t(width) * channels;
  int16_t* columns = frame.AllocateTable<int16_t>(3 * size_t(kSmoothPiece + 2 * channels));
  if (!columns) return nullptr;

  return RunRows(frame, [=](const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out) {
    SmoothWholeRow(SmoothRowArgs{up, mid, down, out, columns, count, channels});
  });
}

HGLOBAL AxisSharpen(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const bool vertical = static_cast<const AxisSharpenParams*>(record)->vertical != 0;
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;

  const int width = frame.layout().width;
  const int channels = ChannelsOf(frame.layout());
  const auto sharpen = [](int p, int c, int n) {
    const int v = 4 * c - p - n;
    return static_cast<uint8_t>(v <= 0 ? 0 : std::min(255, v >> 1));
  };
  return RunRows(frame, [&](const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out) {
    const ptrdiff_t rowBytes = ptrdiff_t(width) * channels;
    for (ptrdiff_t i = 0; i < rowBytes; ++i) {
      if (vertical) {
        out[i] = sharpen(up[i], mid[i], down[i]);
      } else {
        // The row's first and last samples stand in for their missing outer neighbours.
        const int p = i >= channels ? mid[i - channels] : mid[i];
        const int n = i + channels < rowBytes ? mid[i + channels] : mid[i];
        out[i] = sharpen(p, mid[i], n);
      }
    }
  });
}
