// Effects 34, 38 and 36: small per-pixel effects of one intensity. Film grain and add noise
// draw from the engine generator, pixel by pixel from the left of each stored row, in the
// order given at each loop; ripple moves pixels by a wave built once into two tables.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/distort/distort.h"
#include "engine/random.h"
#include "engine/routine_frame.h"

namespace {

uint8_t Clamp255(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

bool InIntensityRange(int32_t intensity) { return intensity >= 1 && intensity <= 100; }

// The rows of a routine whose frame is open and whose result exists: header and palette, the
// discarded abort query, then `row(in, out)` for every stored row with the abort test before
// it and progress every 16th row.
template <typename RowWork>
HGLOBAL ForEachRow(RoutineFrame& frame, RowWork row) {
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  const DibLayout& layout = frame.layout();
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int32_t y = 0; y < layout.height; ++y, in += layout.stride, out += layout.stride) {
    if (!frame.BeginRow(y)) break;
    row(y, in, out);
  }
  return frame.Finish();
}

// ---- Film grain ------------------------------------------------------------------------------

// One draw r per pixel; the offset (p >> 1) - (r mod p) goes to every channel alike.
template <int kPixelBytes>
void GrainRow(const uint8_t* in, uint8_t* out, int32_t w, int p) {
  const int half = p >> 1;
  for (int32_t x = 0; x < w; ++x, in += kPixelBytes, out += kPixelBytes) {
    const int n = half - NextRandom() % p;
    for (int c = 0; c < kPixelBytes; ++c) out[c] = Clamp255(in[c] + n);
  }
}

// ---- Add noise -------------------------------------------------------------------------------

// One draw per pixel decides (below p, mod 100, it changes); a changed pixel takes the low
// byte of one further draw per channel, blue, green, red.
template <int kPixelBytes>
void NoiseRow(const uint8_t* in, uint8_t* out, int32_t w, int p) {
  for (int32_t x = 0; x < w; ++x, in += kPixelBytes, out += kPixelBytes) {
    if (NextRandom() % 100 < p) {
      for (int c = 0; c < kPixelBytes; ++c) out[c] = static_cast<uint8_t>(NextRandom());
    } else {
      std::memcpy(out, in, kPixelBytes);
    }
  }
}

// ---- Ripple ----------------------------------------------------------------------------------

// d(i) for i = 0 .. count - 1: a triangle wave of period 2L times a sine of period L / 2, a
// quarter of it, rounded half up toward zero. Kept as byte offsets: R[i] = d(i) x stride,
// C[i] = d(i) x pixel size.
void FillRippleTables(ptrdiff_t* rowOffsets, ptrdiff_t* columnOffsets, size_t count, int wave, size_t stride,
                      int pixelBytes) {
  for (size_t i = 0; i < count; ++i) {
    const int a = std::abs(wave - static_cast<int>(i % (2 * wave)));
    const auto d = static_cast<int>(a * std::sin(double(i) * 12.5663706 / wave) * 0.25 + 0.5);
    rowOffsets[i] = ptrdiff_t{d} * ptrdiff_t(stride);
    columnOffsets[i] = ptrdiff_t{d} * pixelBytes;
  }
}

// Each row shifted sideways by d(y) and each pixel moved up or down by d(x + y), clamped to
// the image (edge pixels repeat).
template <int kPixelBytes>
void RippleRow(const uint8_t* source, const DibLayout& layout, const ptrdiff_t* rowOffsets,
               const ptrdiff_t* columnOffsets, int32_t y, uint8_t* out) {
  const ptrdiff_t lastRow = ptrdiff_t{layout.height - 1} * ptrdiff_t(layout.stride);
  const ptrdiff_t lastColumn = ptrdiff_t{layout.width - 1} * kPixelBytes;
  const ptrdiff_t rowStart = ptrdiff_t{y} * ptrdiff_t(layout.stride);
  const ptrdiff_t sideways = columnOffsets[y];
  for (int32_t x = 0; x < layout.width; ++x, out += kPixelBytes) {
    const ptrdiff_t row = std::clamp(rowStart + rowOffsets[x + y], ptrdiff_t{0}, lastRow);
    const ptrdiff_t column = std::clamp(ptrdiff_t{x} * kPixelBytes + sideways, ptrdiff_t{0}, lastColumn);
    std::memcpy(out, source + row + column, kPixelBytes);
  }
}

}  // namespace

namespace {

// Film grain and add noise share their run: the routine frame, then `row(rgb, in, out, width)`
// on every stored row.
template <typename RowWork>
HGLOBAL PerPixelNoise(HGLOBAL dib, int32_t intensity, RowWork row) {
  if (!InIntensityRange(intensity) || !dib) return nullptr;
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const bool rgb = frame.kind() == kDibRgb24;
  const int32_t w = frame.layout().width;
  return ForEachRow(frame, [&](int32_t, const uint8_t* in, uint8_t* out) { row(rgb, in, out, w); });
}

}  // namespace

HGLOBAL FilmGrain(HGLOBAL dib, int32_t intensity) {
  return PerPixelNoise(dib, intensity, [intensity](bool rgb, const uint8_t* in, uint8_t* out, int32_t w) {
    rgb ? GrainRow<3>(in, out, w, intensity) : GrainRow<1>(in, out, w, intensity);
  });
}

HGLOBAL AddNoise(HGLOBAL dib, int32_t intensity) {
  return PerPixelNoise(dib, intensity, [intensity](bool rgb, const uint8_t* in, uint8_t* out, int32_t w) {
    rgb ? NoiseRow<3>(in, out, w, intensity) : NoiseRow<1>(in, out, w, intensity);
  });
}

HGLOBAL Ripple(HGLOBAL dib, int32_t intensity) {
  const int wave = std::clamp(intensity, 1, 100) / 2 + 3;  // L, 3..53
  if (!dib) return nullptr;
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const DibLayout& layout = frame.layout();
  const bool rgb = frame.kind() == kDibRgb24;
  // The tables come after the result; if one cannot be made the result is freed and the
  // routine gives null.
  const size_t count = size_t(layout.width) + size_t(layout.height);
  ptrdiff_t* rowOffsets = frame.AllocateTable<ptrdiff_t>(count);
  ptrdiff_t* columnOffsets = frame.AllocateTable<ptrdiff_t>(count);
  if (!rowOffsets || !columnOffsets) return nullptr;
  FillRippleTables(rowOffsets, columnOffsets, count, wave, layout.stride, rgb ? 3 : 1);
  const uint8_t* source = frame.sourcePixels();
  return ForEachRow(frame, [&](int32_t y, const uint8_t*, uint8_t* out) {
    if (rgb) {
      RippleRow<3>(source, layout, rowOffsets, columnOffsets, y, out);
    } else {
      RippleRow<1>(source, layout, rowOffsets, columnOffsets, y, out);
    }
  });
}
