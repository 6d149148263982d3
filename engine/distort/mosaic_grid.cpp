// Effects 52 and 51: patterns of cells laid over the image. Mosaic fills every tile with its
// mean colour; the 3D grid embosses square cells whose edges wander by a random walk in the
// irregular shape.
#include <algorithm>
#include <cstring>

#include "engine/distort/distort.h"
#include "engine/random.h"
#include "engine/routine_frame.h"

namespace {

uint8_t Clamp255(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// ---- Mosaic ----------------------------------------------------------------------------------

// Tile rows start at stored row 0 and tiles at column 0, so the partial tiles lie along the
// right edge and the top of the picture. The abort test runs before every tile row, progress
// on tile rows whose first row is divisible by 16.
template <int kPixelBytes>
void MosaicTiles(RoutineFrame& frame, int32_t tileWidth, int32_t tileHeight) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width, h = layout.height;
  const size_t stride = layout.stride;
  for (int32_t y0 = 0, rows = 0; y0 < h; y0 += rows) {
    if (!frame.BeginRow(y0)) return;
    rows = std::min(tileHeight, h - y0);
    const uint8_t* in = frame.sourcePixels() + size_t(y0) * stride;
    uint8_t* out = frame.resultPixels() + size_t(y0) * stride;
    for (int32_t x0 = 0, columns = 0; x0 < w; x0 += columns) {
      columns = std::min(tileWidth, w - x0);
      const size_t first = size_t(x0) * kPixelBytes, bytes = size_t(columns) * kPixelBytes;
      // Sums are kept in 64 bits, so that even tiles of more than 2^31 / 255 pixels average
      // correctly.
      int64_t sum[kPixelBytes] = {};
      for (int32_t y = 0; y < rows; ++y) {
        const uint8_t* p = in + y * stride + first;
        for (size_t i = 0; i < bytes; i += kPixelBytes) {
          for (int c = 0; c < kPixelBytes; ++c) sum[c] += p[i + c];
        }
      }
      const int64_t count = int64_t{rows} * columns;
      uint8_t mean[kPixelBytes];
      for (int c = 0; c < kPixelBytes; ++c) mean[c] = static_cast<uint8_t>(sum[c] / count);
      for (int32_t y = 0; y < rows; ++y) {
        uint8_t* q = out + y * stride + first;
        for (size_t i = 0; i < bytes; i += kPixelBytes) std::memcpy(q + i, mean, kPixelBytes);
      }
    }
  }
}

// ---- 3D grid ---------------------------------------------------------------------------------

constexpr int32_t kGridPeriods[] = {0, 32, 16, 64};  // by `size` 1..3

// One step of the random walks: the draw's two lowest bits 1 go up, 2 go down.
int32_t WalkStep() {
  switch (NextRandom() & 3) {
    case 1:
      return 1;
    case 2:
      return -1;
    default:
      return 0;
  }
}

// The change at phases u and v of a cell of period m + 1: none in the groove (phase 0 or m),
// the bevels of u first, so they win where the two cross.
int Bevel(uint32_t u, uint32_t v, uint32_t m, int amount) {
  if (u == 0 || u == m || v == 0 || v == m) return 0;
  if (u == 1) return -amount;
  if (u == m - 1) return amount;
  if (v == 1) return amount;
  if (v == m - 1) return -amount;
  return 0;
}

struct GridRun {
  uint32_t mask;             // period - 1
  int amount;                // 92, 60 or 28
  const int32_t* columnWalk; // null for the regular shape
};

template <int kPixelBytes>
void GridRows(RoutineFrame& frame, const GridRun& run) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width, h = layout.height;
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  int32_t shift = 0;
  for (int32_t y = 0; y < h; ++y, in += layout.stride, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    if (run.columnWalk) shift += WalkStep();  // one draw per row, before its pixels
    for (int32_t x = 0; x < w; ++x) {
      // The phases as two's-complement ANDs, so negative sums wrap into 0..m.
      const uint32_t u = run.columnWalk ? uint32_t(x + shift) & run.mask : uint32_t(y) & run.mask;
      const uint32_t v = run.columnWalk ? uint32_t(y + run.columnWalk[x]) & run.mask : uint32_t(x) & run.mask;
      const int d = Bevel(u, v, run.mask, run.amount);
      for (int c = 0; c < kPixelBytes; ++c) out[x * kPixelBytes + c] = Clamp255(in[x * kPixelBytes + c] + d);
    }
  }
}

}  // namespace

HGLOBAL Mosaic(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const MosaicParams*>(record);
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib)) return nullptr;
  const int32_t tileWidth = std::min(params.width, frame.layout().width);
  const int32_t tileHeight = std::min(params.height, frame.layout().height);
  if (tileWidth < 1 || tileHeight < 1) return nullptr;
  if (!frame.CreateResult()) return nullptr;

  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  if (frame.kind() == kDibRgb24) {
    MosaicTiles<3>(frame, tileWidth, tileHeight);
  } else {
    MosaicTiles<1>(frame, tileWidth, tileHeight);
  }
  return frame.Finish();
}

HGLOBAL ThreeDGrid(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const ThreeDGridParams*>(record);
  if (params.size < 1 || params.size > 3) return nullptr;
  if (params.height < 0 || params.height > 2) return nullptr;
  if (params.shape != 0 && params.shape != 1) return nullptr;
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  GridRun run{uint32_t(kGridPeriods[params.size] - 1), 92 - 32 * params.height, nullptr};
  if (params.shape == 1) {
    // The column walk comes from the generator's next w draws, before any row is done. If its
    // table cannot be made, the result is freed and the routine gives null.
    const int32_t w = frame.layout().width;
    int32_t* walk = frame.AllocateTable<int32_t>(size_t(w));
    if (!walk) return nullptr;
    for (int32_t x = 0, value = 0; x < w; ++x) walk[x] = value += WalkStep();
    run.columnWalk = walk;
  }

  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  if (frame.kind() == kDibRgb24) {
    GridRows<3>(frame, run);
  } else {
    GridRows<1>(frame, run);
  }
  return frame.Finish();
}
