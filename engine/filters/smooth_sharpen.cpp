// Effects 16 and 19: two 3 x 3 filters without a dialog. Edge-preserving smoothing takes
// the mean of the neighbourhood where the Sobel edge strength is small; one-axis sharpening
// raises each sample against its two neighbours along rows or along columns.
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

constexpr int kMeanSums = 2304;  // sums of nine samples: 0 ... 9 x 255
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
  uint8_t* mean = frame.AllocateTable<uint8_t>(kMeanSums);
  if (!mean) return nullptr;
  for (int s = 0; s < kMeanSums; ++s) mean[s] = static_cast<uint8_t>(std::min(255, (s + 4) / 9));

  const int width = frame.layout().width;
  const int channels = ChannelsOf(frame.layout());
  return RunRows(frame, [&](const uint8_t* up, const uint8_t* mid, const uint8_t* down, uint8_t* out) {
    // a b c / d e f / g h i in stored order: a..c on the previous row, g..i on the next.
    for (int x = 0; x < width; ++x) {
      const ptrdiff_t left = ptrdiff_t(std::max(x - 1, 0)) * channels;
      const ptrdiff_t centre = ptrdiff_t(x) * channels;
      const ptrdiff_t right = ptrdiff_t(std::min(x + 1, width - 1)) * channels;
      for (int c = 0; c < channels; ++c) {
        const int a = up[left + c], b = up[centre + c], cc = up[right + c];
        const int d = mid[left + c], e = mid[centre + c], f = mid[right + c];
        const int g = down[left + c], h = down[centre + c], i = down[right + c];
        const int gy = (g + 2 * h + i) - (a + 2 * b + cc);
        const int gx = (cc + 2 * f + i) - (a + 2 * d + g);
        out[centre + c] = std::abs(gx) + std::abs(gy) < kEdgeLimit
                              ? mean[a + b + cc + d + e + f + g + h + i]
                              : static_cast<uint8_t>(e);
      }
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
