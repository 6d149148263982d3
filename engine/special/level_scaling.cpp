// Effect 70, level scaling: every level of a 24-bit or grey-ramp image through one table,
// levels times 255 / p for p > 0 and times -p / 255 for p <= 0. This routine never touches
// the cursor.
#include <algorithm>

#include "engine/routine_frame.h"
#include "engine/special/special.h"
#include "engine/tone/tone_paths.h"

namespace {

// The table in 32-bit integers with truncating division, each entry clamped to 0..255.
// For p <= 0 the product i x (-p) wraps around as 32-bit arithmetic does; unsigned
// arithmetic gives the same bits without undefined behaviour.
void BuildScalingTable(int32_t p, uint8_t* table) {
  for (int i = 0; i < 256; ++i) {
    int32_t value;
    if (p >= 1) {
      value = (p / 2 + 255 * i) / p;
    } else {
      const uint32_t product = 127u + static_cast<uint32_t>(i) * (0u - static_cast<uint32_t>(p));
      value = static_cast<int32_t>(product) / 255;
    }
    table[i] = static_cast<uint8_t>(std::clamp<int32_t>(value, 0, 255));
  }
}

}  // namespace

HGLOBAL LevelScaling(HGLOBAL dib, int32_t p) {
  if (!dib) return nullptr;
  uint8_t table[256];
  BuildScalingTable(p, table);

  // The rows ask the abort test from the first on; there is no discarded query first.
  RoutineFrame frame(kFilterKinds, FrameCursor::kUntouched);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderBySizeField();
  if (frame.kind() == kDibGreyRamp) {
    frame.CopyPalette();
    MapGreyRows(frame, table);
  } else {
    MapRgbRows(frame, table, table, table);
  }
  return frame.Finish();
}
