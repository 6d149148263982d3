// Effect 1, brightness and contrast: one 256-entry table per channel, the lookup function on
// the chosen channels and the identity on the others.
#include <algorithm>

#include "engine/routine_frame.h"
#include "engine/tone/tone.h"
#include "engine/tone/tone_paths.h"

namespace {

// The level window [c, 255 - c] stretched over 0..255 after adding b, rounding halves up.
uint8_t BrightnessContrastLevel(int level, int b, int c) {
  const int x = level + b;
  if (x < c) return 0;
  if (x > 255 - c) return 255;
  const int span = 255 - 2 * c;
  const int value = (255 * (x - c) + span / 2) / span;
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// Which channels get the function: rows are channel 0 (all), 1 (red), 2 (green), other (blue).
struct ChannelChoice {
  bool red, green, blue;
};
constexpr ChannelChoice kChannelChoices[] = {
    //  red    green  blue
    {true, true, true},
    {true, false, false},
    {false, true, false},
    {false, false, true},
};

const ChannelChoice& ChoiceFor(int channel) {
  return kChannelChoices[channel >= 0 && channel <= 2 ? channel : 3];
}

}  // namespace

HGLOBAL BrightnessContrast(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const BrightnessContrastParams*>(record);
  const int b = std::clamp<int32_t>(params.brightness, -128, 127);
  const int c = std::clamp<int32_t>(params.contrast, -128, 127);

  RoutineFrame frame(kToneKinds);
  uint8_t* red = frame.AllocateTable<uint8_t>(256);
  uint8_t* green = frame.AllocateTable<uint8_t>(256);
  uint8_t* blue = frame.AllocateTable<uint8_t>(256);
  if (!red || !green || !blue) return nullptr;
  const ChannelChoice& choice = ChoiceFor(params.channel);
  for (int i = 0; i < 256; ++i) {
    const uint8_t mapped = BrightnessContrastLevel(i, b, c);
    const auto identity = static_cast<uint8_t>(i);
    red[i] = choice.red ? mapped : identity;
    green[i] = choice.green ? mapped : identity;
    blue[i] = choice.blue ? mapped : identity;
  }
  if (b == 0 && c == 0) return nullptr;

  // This routine asks the abort test from the first row on; it makes no discarded query.
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderBySizeField();
  switch (frame.kind()) {
    case kDibRgb24:
      MapRgbRows(frame, blue, green, red);
      break;
    case kDibGreyRamp:
      frame.CopyPalette();
      MapGreyRows(frame, red);
      break;
    default:
      MapPaletteEntries(frame, blue, green, red, FourthByte::kZero);
      CopyPixelRows(frame, 32);
      break;
  }
  return frame.Finish();
}
