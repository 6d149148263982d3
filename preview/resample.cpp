#include "preview/resample.h"

#include <cstdint>
#include <cstring>

#include "engine/hooks.h"
#include "engine/working_tables.h"
#include "image/dib.h"

namespace {

// Offsets, weights (in eighths, for the sample itself; the next one gets 8 - weight) and
// validity flags along one axis.
struct AxisTables {
  int32_t* offset;
  int32_t* weight;
  int32_t* valid;
};

// Samples along one axis: position p runs from `start` by `span / count`, accumulated by
// repeated addition; the sample index is p truncated toward zero. A sample with a successor
// inside the source gets its own weight; the last one, and any outside, reads the last
// sample with full weight. `unit` is the byte step of one sample.
void FillAxis(const AxisTables& axis, int start, int span, int count, int limit, int64_t unit) {
  const double step = static_cast<double>(span) / count;
  double p = start;
  for (int i = 0; i < count; ++i, p += step) {
    const int index = static_cast<int>(p);
    if (index >= 0 && index < limit - 1) {
      axis.offset[i] = static_cast<int32_t>(index * unit);
      axis.weight[i] = static_cast<int32_t>((index + 1 - p) * 8 + 0.5);
    } else {
      axis.offset[i] = static_cast<int32_t>((limit - 1) * unit);
      axis.weight[i] = 8;
    }
    axis.valid[i] = index >= 0 && index < limit ? 1 : 0;
  }
}

bool MakeAxis(WorkingTables& tables, int count, AxisTables* axis) {
  axis->offset = tables.Allocate<int32_t>(count);
  axis->weight = tables.Allocate<int32_t>(count);
  axis->valid = tables.Allocate<int32_t>(count);
  return axis->offset && axis->weight && axis->valid;
}

// One output row of `channels`-byte samples, bilinear in eighths. A term whose weight
// product is 0 is not read, so a clamped last column or row never reads past the image.
void BilinearRow(const uint8_t* top, int64_t stride, int wy, const AxisTables& columns, int outW, int channels,
                 uint8_t* out) {
  for (int i = 0; i < outW; ++i, out += channels) {
    if (!columns.valid[i]) continue;
    const uint8_t* p = top + columns.offset[i];
    const int wx = columns.weight[i];
    const int wpq[4] = {wx * wy, (8 - wx) * wy, wx * (8 - wy), (8 - wx) * (8 - wy)};
    const int64_t at[4] = {0, channels, stride, stride + channels};
    for (int c = 0; c < channels; ++c) {
      int sum = 32;
      for (int k = 0; k < 4; ++k) {
        if (wpq[k]) sum += p[at[k] + c] * wpq[k];
      }
      out[c] = static_cast<uint8_t>(sum >> 6);
    }
  }
}

void NearestBitRow(const uint8_t* row, const AxisTables& columns, int outW, uint8_t* out) {
  for (int i = 0; i < outW; ++i) {
    if (!columns.valid[i]) continue;
    const int ix = columns.offset[i];
    if (row[ix >> 3] & (0x80 >> (ix & 7))) out[i >> 3] |= static_cast<uint8_t>(0x80 >> (i & 7));
  }
}

}  // namespace

HGLOBAL ResampleDib(HGLOBAL source, int x0, int y0, int spanW, int spanH, int outW, int outH) {
  if (outW < 1 || outH < 1 || !source) return nullptr;
  const void* bits = GlobalLock(source);
  if (!bits) return nullptr;
  DibLayout in;
  const size_t available = GlobalSize(source);
  const bool readable = ReadDibLayout(bits, available, &in);
  const DibKind kind = readable ? ClassifyDibBits(bits, available) : kDibNone;
  if (spanW < 1 || spanH < 1 || (kind != kDibRgb24 && kind != kDibGreyRamp && kind != kDibPalette8 &&
                                 kind != kDibBilevel)) {
    GlobalUnlock(source);
    return nullptr;
  }

  const int64_t outStride = DibRowStride(outW, in.bitCount);
  const int64_t resultSize = int64_t(in.pixelOffset) + outStride * outH;
  HGLOBAL result = outStride > 0 && resultSize <= 0x7FFFFFFF
                       ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<size_t>(resultSize))
                       : nullptr;
  auto* out = result ? static_cast<uint8_t*>(GlobalLock(result)) : nullptr;
  if (!out) {
    if (result) GlobalFree(result);
    GlobalUnlock(source);
    return nullptr;
  }
  std::memcpy(out, bits, in.pixelOffset);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(out);
  header->biWidth = outW;
  header->biHeight = outH;
  header->biSizeImage = static_cast<DWORD>(outStride * outH);
  (void)IsAbortRequested();  // clears an Escape press from before the run

  enum { kDone, kAborted, kFailed } outcome = kDone;
  WorkingTables tables;
  AxisTables columns, rows;
  if (kind == kDibPalette8) {
    // Palette images other than the grey ramp get no pixels: the result stays zero.
  } else if (!MakeAxis(tables, outW, &columns) || !MakeAxis(tables, outH, &rows)) {
    outcome = kFailed;
  } else {
    const int channels = kind == kDibRgb24 ? 3 : 1;
    FillAxis(columns, x0, spanW, outW, in.width, kind == kDibBilevel ? 1 : channels);
    FillAxis(rows, y0, spanH, outH, in.height, in.stride);
    const uint8_t* pixels = static_cast<const uint8_t*>(bits) + in.pixelOffset;
    uint8_t* outRow = out + in.pixelOffset;
    for (int j = 0; j < outH; ++j, outRow += outStride) {
      if (IsAbortRequested()) {
        outcome = kAborted;
        break;
      }
      if (j % 16 == 0) ReportProgress(static_cast<int>(int64_t{j} * 100 / outH));
      if (!rows.valid[j]) continue;
      const uint8_t* row = pixels + rows.offset[j];
      if (kind == kDibBilevel) {
        NearestBitRow(row, columns, outW, outRow);
      } else {
        BilinearRow(row, in.stride, rows.weight[j], columns, outW, channels, outRow);
      }
    }
  }
  tables.ReleaseAll();
  GlobalUnlock(result);
  GlobalUnlock(source);
  if (outcome != kDone) {
    GlobalFree(result);
    result = nullptr;
  }
  if (outcome != kFailed) ReportProgress(100);
  return result;
}
