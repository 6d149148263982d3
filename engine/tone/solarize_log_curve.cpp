// Effects 23 and 24: fixed level mappings of all three channels, solarise (levels from 128
// up mirrored) and a logarithmic curve that lifts the shadows.
#include <algorithm>
#include <cmath>

#include "engine/routine_frame.h"
#include "engine/tone/tone.h"
#include "engine/tone/tone_paths.h"

namespace {

// The path both share, after the header is copied: every blue, green and red byte of a 24-bit
// image, every grey-ramp pixel (palette copied), or every palette entry (fourth byte copied,
// pixel rows copied whole) through `table`. Abort test every row, progress every 16th.
void MapEveryChannel(RoutineFrame& frame, const uint8_t* table) {
  switch (frame.kind()) {
    case kDibRgb24:
      MapRgbRows(frame, table, table, table);
      break;
    case kDibGreyRamp:
      frame.CopyPalette();
      MapGreyRows(frame, table);
      break;
    default:
      MapPaletteEntries(frame, table, table, table, FourthByte::kCopy);
      CopyPixelRows(frame, 1);
      break;
  }
}

// ln(k + 1) x 255 / ln(256) + 0.5 in extended precision, truncated: 0, 32, ..., 223 at 127,
// 255 at 255.
uint8_t LogLevel(int k) {
  const long double value = std::log(static_cast<long double>(k + 1)) * 255.0L / std::log(256.0L) + 0.5L;
  return static_cast<uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
}

}  // namespace

HGLOBAL Solarize(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t table[256];
  for (int v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>(v < 128 ? v : 255 - v);
  frame.DiscardAbortQuery();
  frame.CopyHeaderBySizeField();
  MapEveryChannel(frame, table);
  return frame.Finish();
}

HGLOBAL LogCurve(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t* table = frame.AllocateTable<uint8_t>(256);
  if (!table) return nullptr;
  // The discarded query comes first so that an Escape press from before the run does not
  // stop the table; then an abort test before each entry, where an abort ends the run before
  // any pixel is touched.
  frame.DiscardAbortQuery();
  for (int k = 0; k < 256; ++k) {
    if (frame.AskAbort()) return frame.Finish();
    table[k] = LogLevel(k);
  }
  frame.CopyHeaderBySizeField();
  MapEveryChannel(frame, table);
  return frame.Finish();
}
