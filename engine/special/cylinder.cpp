// Effect 66, cylinder: every row redrawn as if the picture were wrapped round the visible half
// of a vertical cylinder. Output column k takes the source position whose arc projects onto k,
// so the middle is stretched and the side edges squeezed; positions between two source pixels
// are blended in steps of 1/256.
#include <algorithm>
#include <cmath>

#include "engine/routine_frame.h"
#include "engine/special/special.h"

namespace {

template <int kPixelBytes>
void CylinderRows(RoutineFrame& frame, const int32_t* column, const int32_t* fraction) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width;
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int32_t y = 0; y < layout.height; ++y, in += layout.stride, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    for (int32_t k = 0; k < w; ++k) {
      const uint8_t* a = in + column[k] * kPixelBytes;
      const uint8_t* b = in + std::min(column[k] + 1, w - 1) * kPixelBytes;
      const int f = fraction[k];
      for (int c = 0; c < kPixelBytes; ++c) {
        out[k * kPixelBytes + c] = static_cast<uint8_t>(std::min((a[c] * (256 - f) + b[c] * f) >> 8, 255));
      }
    }
  }
}

}  // namespace

HGLOBAL Cylinder(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const int32_t w = frame.layout().width;
  // Source column and blend fraction per output column (32-bit entries, so that any width
  // fits). If a table cannot be made, the result is freed and the routine gives null.
  int32_t* column = frame.AllocateTable<int32_t>(size_t(w));
  int32_t* fraction = frame.AllocateTable<int32_t>(size_t(w));
  if (!column || !fraction) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // pos = (asin(2k / w - 1) / pi + 1/2) x w; the abort test runs before every column.
  for (int32_t k = 0; k < w; ++k) {
    if (frame.AskAbort()) return frame.Finish();
    const double pos = w < 2 ? 0.0 : (std::asin(2.0 * k / w - 1.0) * 0.31830989161357204 + 0.5) * w;
    column[k] = std::clamp(static_cast<int32_t>(pos), 0, w - 1);
    fraction[k] = static_cast<int32_t>((pos - column[k]) * 256.0);
  }
  if (frame.kind() == kDibRgb24) {
    CylinderRows<3>(frame, column, fraction);
  } else {
    CylinderRows<1>(frame, column, fraction);
  }
  return frame.Finish();
}
