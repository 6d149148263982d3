// Effect 40, oil painting: every level becomes the most frequent of 32 bins of 8 levels in the
// K x K window around its pixel (K = 2r + 1), each channel on its own. The window's histograms
// slide along the row: one column out and one column in per pixel. Window positions beyond
// the image repeat the edge pixels. When the picture allows, each sample column keeps the
// histogram of its K window rows, sliding down one row at a time, so that a step along the row
// adds and subtracts two column histograms whatever K is.
#include <algorithm>
#include <cstring>

#include "engine/distort/distort.h"
#include "engine/routine_frame.h"

namespace {

constexpr int kBins = 32;
constexpr int kMaxRadius = 100;
// Column histograms take 32 bytes per sample column: made up to this budget or four times the
// picture, whichever is larger; wider and shorter pictures count the window's columns pixel
// by pixel.
constexpr size_t kColumnHistogramBudget = size_t{4} << 20;

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

// The same counts from column histograms: columns[j x 32 + bin] counts the K window rows of
// sample column j (counts up to 201 fit a byte; the window's, up to 201 x 201, 16 bits).
template <int kPixelBytes>
void PaintRowsFromColumns(RoutineFrame& frame, int radius, uint8_t* columns) {
  const DibLayout& layout = frame.layout();
  const int w = layout.width, h = layout.height;
  const int r = radius, k = 2 * r + 1;
  const int samples = w * kPixelBytes;
  const auto sourceRow = [&](int y) { return frame.sourcePixels() + std::clamp(y, 0, h - 1) * size_t(layout.stride); };
  const auto addRow = [&](const uint8_t* row, int step) {
    for (int j = 0; j < samples; ++j) columns[ptrdiff_t(j) * kBins + (row[j] >> 3)] += uint8_t(step);
  };
  const auto column = [&](int x, int c) { return columns + (ptrdiff_t(std::clamp(x, 0, w - 1)) * kPixelBytes + c) * kBins; };

  uint8_t* out = frame.resultPixels();
  for (int y = 0; y < h; ++y, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    if (y == 0) {
      for (int i = -r; i <= r; ++i) addRow(sourceRow(i), +1);
    } else if (sourceRow(y - r - 1) != sourceRow(y + r)) {
      addRow(sourceRow(y - r - 1), -1);
      addRow(sourceRow(y + r), +1);
    }
    for (int c = 0; c < kPixelBytes; ++c) {
      // The window of x = 0: column 0 for slots -r ... 0, column i for slot i up to r, the
      // last column for the slots past it.
      uint16_t window[kBins] = {};
      const auto addColumn = [&](const uint8_t* counts, int times) {
        for (int b = 0; b < kBins; ++b) window[b] = uint16_t(window[b] + times * counts[b]);
      };
      if (w == 1) {
        addColumn(column(0, c), k);
      } else {
        addColumn(column(0, c), r + 1);
        for (int i = 1; i <= std::min(w - 2, r); ++i) addColumn(column(i, c), 1);
        addColumn(column(w - 1, c), std::max(0, r - (w - 1) + 1));
      }
      for (int x = 0; x < w; ++x) {
        if (x > 0) {
          const uint8_t* leaving = column(x - r - 1, c);
          const uint8_t* entering = column(x + r, c);
          if (leaving != entering) {
            for (int b = 0; b < kBins; ++b) window[b] = uint16_t(window[b] + entering[b] - leaving[b]);
          }
        }
        // The lowest bin holding the largest count: the largest count first (a loop without
        // a chain of dependent branches), then the first bin that holds it.
        uint16_t most = 0;
        for (int b = 0; b < kBins; ++b) most = std::max(most, window[b]);
        int best = 0;
        while (window[best] != most) ++best;
        out[x * kPixelBytes + c] = static_cast<uint8_t>(best * 8);
      }
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
  // The column histograms, when they fit the budget and can be made.
  const bool rgb = frame.kind() == kDibRgb24;
  const size_t samples = size_t(frame.layout().width) * (rgb ? 3 : 1);
  const size_t budget = std::max(kColumnHistogramBudget, 4 * frame.layout().blockSize);
  uint8_t* columns = samples * kBins <= budget ? frame.AllocateTable<uint8_t>(samples * kBins) : nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  if (columns) {
    if (rgb) {
      PaintRowsFromColumns<3>(frame, radius, columns);
    } else {
      PaintRowsFromColumns<1>(frame, radius, columns);
    }
  } else if (rgb) {
    PaintRows<3>(frame, run);
  } else {
    PaintRows<1>(frame, run);
  }
  return frame.Finish();
}
