// Effect 40, oil painting: every level becomes the most frequent of 32 bins of 8 levels in the
// K x K window around its pixel (K = 2r + 1), each channel on its own. The window's histograms
// slide along the row: one column out and one column in per pixel. Window positions beyond
// the image repeat the edge pixels.
#include <algorithm>

#include "engine/distort/distort.h"
#include "engine/routine_frame.h"

namespace {

constexpr int kBins = 32;
constexpr int kMaxRadius = 100;

// The lowest of the most frequent bins, as a level (0, 8, ..., 248).
uint8_t ModeLevel(const int32_t* histogram) {
  int best = 0;
  for (int b = 1; b < kBins; ++b) {
    if (histogram[b] > histogram[best]) best = b;
  }
  return static_cast<uint8_t>(best * 8);
}

struct PaintRun {
  int radius;
  int32_t* histograms[3];  // blue, green, red; a grey image uses the first
};

template <int kPixelBytes>
void PaintRows(RoutineFrame& frame, const PaintRun& run) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width, h = layout.height;
  const int r = run.radius, k = 2 * r + 1;
  int32_t* const* hist = run.histograms;
  const uint8_t* window[2 * kMaxRadius + 1];  // the window's rows, clamped
  const auto column = [w](int32_t x) { return std::clamp(x, 0, w - 1) * kPixelBytes; };
  const auto count = [&](int32_t offset, int32_t step) {
    for (int j = 0; j < k; ++j) {
      const uint8_t* p = window[j] + offset;
      for (int c = 0; c < kPixelBytes; ++c) hist[c][p[c] >> 3] += step;
    }
  };

  uint8_t* out = frame.resultPixels();
  for (int32_t y = 0; y < h; ++y, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    for (int j = 0; j < k; ++j) window[j] = frame.sourcePixels() + std::clamp(y - r + j, 0, h - 1) * size_t(layout.stride);
    for (int c = 0; c < kPixelBytes; ++c) std::fill(hist[c], hist[c] + kBins, 0);
    for (int32_t dx = -r; dx <= r; ++dx) count(column(dx), +1);
    for (int32_t x = 0; x < w; ++x) {
      if (x > 0) {
        const int32_t leaving = column(x - r - 1), entering = column(x + r);
        if (leaving != entering) {  // at the edges the same clamped column may leave and enter
          count(leaving, -1);
          count(entering, +1);
        }
      }
      for (int c = 0; c < kPixelBytes; ++c) out[x * kPixelBytes + c] = ModeLevel(hist[c]);
    }
  }
}

}  // namespace

HGLOBAL OilPainting(HGLOBAL dib, int32_t intensity) {
  const int radius = std::clamp(intensity, 1, kMaxRadius);
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  // Three histograms always, after the result; if one cannot be made the result is freed and
  // the routine gives null.
  PaintRun run{radius, {}};
  for (int32_t*& histogram : run.histograms) {
    histogram = frame.AllocateTable<int32_t>(kBins);
    if (!histogram) return nullptr;
  }
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  if (frame.kind() == kDibRgb24) {
    PaintRows<3>(frame, run);
  } else {
    PaintRows<1>(frame, run);
  }
  return frame.Finish();
}
