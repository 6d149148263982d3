// Effects 16 and 19: two 3 x 3 filters without a dialog. Edge-preserving smoothing takes
// the mean of the neighbourhood where the Sobel edge strength is small; one-axis sharpening
// raises each sample against its two neighbours along rows or along columns.
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

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

}  // namespace

HGLOBAL EdgePreservingSmooth(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  // The three window rows, each with its edge pixels repeated once on both sides, so that the
  // loop below runs over the row with fixed offsets and no clamping.
  const int width = frame.layout().width;
  const int channels = ChannelsOf(frame.layout());
  const size_t padded = (size_t(width) + 2) * channels;
  uint8_t* rows = frame.AllocateTable<uint8_t>(3 * padded);
  if (!rows) return nullptr;

  const int count = width * channels;
  const uint8_t* loaded[3] = {nullptr, nullptr, nullptr};  // the source row in each slot
  return RunRows(frame, [&](const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out) {
    // Each source row is padded once: the three slots keep the rows loaded last, and a row
    // not there yet goes into a slot that none of the three needs.
    const uint8_t* needed[3] = {up, mid, down};
    const uint8_t* window[3];
    for (int k = 0; k < 3; ++k) {
      int slot = 0;
      while (slot < 3 && loaded[slot] != needed[k]) ++slot;
      if (slot == 3) {
        slot = 0;
        while (loaded[slot] == up || loaded[slot] == mid || loaded[slot] == down) ++slot;
        LoadPaddedUnits(needed[k], channels, width, channels, 3, rows + slot * padded);
        loaded[slot] = needed[k];
      }
      window[k] = rows + slot * padded + channels;
    }
    // a b c / d e f / g h i in stored order: a..c on the previous row, g..i on the next.
    const uint8_t* u = window[0];
    const uint8_t* m = window[1];
    const uint8_t* w = window[2];
    const int l = -channels, r = channels;
    // All in 16-bit lanes, so that the loop vectorises eight or sixteen samples at a time:
    // the gradients stay within +-1020 and the sum of nine within 2299.
    for (int j = 0; j < count; ++j) {
      const int16_t a = u[j + l], b = u[j], cc = u[j + r];
      const int16_t d = m[j + l], e = m[j], f = m[j + r];
      const int16_t g = w[j + l], h = w[j], i = w[j + r];
      const int16_t gy = int16_t((g + 2 * h + i) - (a + 2 * b + cc));
      const int16_t gx = int16_t((cc + 2 * f + i) - (a + 2 * d + g));
      const int16_t strength = int16_t((gx < 0 ? -gx : gx) + (gy < 0 ? -gy : gy));
      // The rounded mean of nine samples, at most (9 x 255 + 4) / 9 = 255: (x x 7282) >> 16
      // is x / 9 for every x up to 2299 (the product overshoots by 2x / (9 x 2^16) < 1 / 9).
      const uint16_t sum = uint16_t(a + b + cc + d + e + f + g + h + i + 4);
      const uint16_t mean = uint16_t((uint32_t(sum) * 7282u) >> 16);
      out[j] = static_cast<uint8_t>(strength < kEdgeLimit ? mean : e);
    }
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
