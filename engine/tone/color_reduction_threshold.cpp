// Effects 4 and 7: levels mapped by a fixed rule. Colour reduction quantises the chosen
// channels to evenly spaced levels; threshold makes every colour black or white by its
// luminance.
#include "engine/routine_frame.h"
#include "engine/tone/tone.h"
#include "engine/tone/tone_paths.h"

namespace {

// Each level to the nearest multiple of step = 255 / (levels - 1) rounded to nearest, halves
// upward, held at 255 at the top.
void BuildReductionTable(int levels, uint8_t* table) {
  const int step = ((levels - 1) / 2 + 255) / (levels - 1);
  for (int i = 0; i < 256; ++i) {
    const int value = (i + step / 2) / step * step;
    table[i] = static_cast<uint8_t>(value > 255 ? 255 : value);
  }
}

// Luminance weights sum to 255, so the test against 255 x level needs no division.
struct ThresholdTransform {
  int32_t limit;  // 255 x level

  void operator()(uint8_t& b, uint8_t& g, uint8_t& r) const {
    const int32_t luminance = 76 * r + 150 * g + 29 * b;
    const uint8_t value = luminance > limit ? 255 : 0;
    b = g = r = value;
  }
};

}  // namespace

HGLOBAL ColorReduction(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const ColorReductionParams*>(record);
  if (params.channel < 0 || params.channel > 3) return nullptr;
  if (params.levels < 2 || params.levels > 128) return nullptr;

  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t* table = frame.AllocateTable<uint8_t>(256);
  if (!table) return nullptr;
  BuildReductionTable(params.levels, table);
  frame.DiscardAbortQuery();
  // With all channels a 24-bit row goes through the table whole, padding included (0 maps
  // to 0, so zero padding stays zero).
  MapSelectedChannels(frame, params.channel, table, AllChannelRows::kWholeStride);
  return frame.Finish();
}

HGLOBAL Threshold(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int32_t level = static_cast<const ThresholdParams*>(record)->level;
  if (level < 0 || level > 255) return nullptr;

  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderBySizeField();
  frame.DiscardAbortQuery();
  const ThresholdTransform transform{255 * level};
  switch (frame.kind()) {
    case kDibRgb24:
      MapRgbColours(frame, transform);
      break;
    case kDibGreyRamp: {
      uint8_t table[256];
      for (int i = 0; i < 256; ++i) table[i] = i > level ? 255 : 0;
      frame.CopyPalette();
      MapGreyRows(frame, table);
      break;
    }
    default:
      MapPaletteColours(frame, transform);
      CopyPixelRows(frame, 1, RowCopy::kSkip8BitPadding);
      break;
  }
  return frame.Finish();
}
