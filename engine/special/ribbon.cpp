// Effect 65, ribbon: the picture becomes a band that waves up and down across the width.
// Column x is lifted by d(x), a cosine of its position scaled to the amplitude A; the band
// shows source rows 0 to h - A - 1, and what lies outside it is painted in the fill colour.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/routine_frame.h"
#include "engine/special/special.h"

namespace {

// d(x) = (cos(x x step x pi) + 1) / 2 x A, truncated: A at the left edge, falling and rising
// with `frequency` tenths of half waves across the width.
void FillLifts(int32_t* lift, int32_t w, int32_t frequency, int32_t amplitude) {
  const double step = frequency * 0.1 / w;
  for (int32_t x = 0; x < w; ++x) {
    lift[x] = static_cast<int32_t>((std::cos(x * step * 3.1415926) + 1.0) * 0.5 * amplitude);
  }
}

template <int kPixelBytes>
void RibbonRows(RoutineFrame& frame, const int32_t* lift, int32_t amplitude, const uint8_t* fill) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width, h = layout.height;
  // Band rows are 0 .. h - A - 1; a negative amplitude (never set by the dialog) would reach
  // above the picture, so rows beyond it are filled too.
  const int32_t lastRow = std::min(h - amplitude - 1, h - 1);
  const uint8_t* source = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int32_t y = 0; y < h; ++y, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    for (int32_t x = 0; x < w; ++x) {
      const int32_t from = y - lift[x];
      const uint8_t* p = from < 0 || from > lastRow ? fill : source + size_t(from) * layout.stride + x * kPixelBytes;
      std::memcpy(out + x * kPixelBytes, p, kPixelBytes);
    }
  }
}

}  // namespace

HGLOBAL Ribbon(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const RibbonParams*>(record);
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const int32_t w = frame.layout().width, h = frame.layout().height;
  // A = amplitude x h x 3 / 400 in 32-bit arithmetic (the product wraps as 32-bit integers do).
  const int32_t amplitude =
      static_cast<int32_t>(static_cast<uint32_t>(params.amplitude) * static_cast<uint32_t>(h) * 3u) / 400;
  // If the table cannot be made, the result is freed and the routine gives null.
  int32_t* lift = frame.AllocateTable<int32_t>(size_t(w));
  if (!lift) return nullptr;
  FillLifts(lift, w, params.frequency, amplitude);
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  const uint32_t colour = params.fillColor;  // red lowest byte, then green, then blue
  if (frame.kind() == kDibRgb24) {
    const uint8_t fill[3] = {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)};
    RibbonRows<3>(frame, lift, amplitude, fill);
  } else {
    const uint8_t fill[1] = {uint8_t(colour)};  // the red byte as grey level
    RibbonRows<1>(frame, lift, amplitude, fill);
  }
  return frame.Finish();
}
