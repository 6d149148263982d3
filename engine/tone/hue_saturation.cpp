// Effect 2, hue and saturation: a hue turn on a hexagonal model that keeps each colour's
// largest and smallest channel, then each channel pulled toward (or pushed away from) the
// largest one. Integer arithmetic throughout; the products come from three tables.
#include <algorithm>

#include "engine/hooks.h"
#include "engine/routine_frame.h"
#include "engine/tone/tone.h"
#include "engine/tone/tone_paths.h"

namespace {

// Which of the largest, middle and smallest channel each of red, green and blue takes after
// the turn, by sector of the turned hue (sector 6 only at exactly 360 degrees).
enum Role { kMax, kMid, kMin };
struct SectorRoles {
  Role red, green, blue;
};
constexpr SectorRoles kSectorRoles[7] = {
    //  red   green  blue
    {kMax, kMid, kMin},  // 0
    {kMid, kMax, kMin},  // 1
    {kMin, kMax, kMid},  // 2
    {kMin, kMid, kMax},  // 3
    {kMid, kMin, kMax},  // 4
    {kMax, kMin, kMid},  // 5
    {kMax, kMid, kMin},  // 6
};

// The colour transform, with the run's tables: pull[k] = (128 k s + 50) / 100,
// keep[k] = 128 k - pull[k], sixty[k] = 60 k.
struct HueSaturationTransform {
  const int32_t* pull;
  const int32_t* keep;
  const int32_t* sixty;
  int hue;

  void operator()(uint8_t& b, uint8_t& g, uint8_t& r) const {
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    const int d = mx - mn;
    if (d == 0) return;  // greys are left alone by both steps
    if (hue != 0) Turn(b, g, r, mx, mn, d);
    const int32_t lift = pull[mx];
    b = Saturate(keep[b] + lift);
    g = Saturate(keep[g] + lift);
    r = Saturate(keep[r] + lift);
  }

  // Hue angles are in degrees times d, so the only divisions are by 60 d and by 60.
  void Turn(uint8_t& b, uint8_t& g, uint8_t& r, int mx, int mn, int d) const {
    const int sixtyD = sixty[d];
    int angle;
    if (r == mx) {
      angle = sixty[g] - sixty[b];
    } else if (g != mx) {
      angle = sixty[r] - sixty[g] - 2 * sixtyD;
    } else {
      angle = 2 * sixtyD + sixty[b] - sixty[r];
    }
    angle += hue * d;
    if (angle < 0) angle += 6 * sixtyD;
    const int sector = angle / sixtyD;
    int rest = angle % sixtyD;
    if (sector % 2 == 0) rest = sixtyD - rest;
    const int values[3] = {mx, mx - (rest + 30) / 60, mn};  // by Role
    const SectorRoles& roles = kSectorRoles[sector];
    r = static_cast<uint8_t>(values[roles.red]);
    g = static_cast<uint8_t>(values[roles.green]);
    b = static_cast<uint8_t>(values[roles.blue]);
  }

  static uint8_t Saturate(int32_t v) {
    if (v < 0) return 0;
    return static_cast<uint8_t>(std::min(v >> 7, 255));
  }
};

// Palette images: the pixel bytes are copied one by one over the whole pixel area, with the
// abort test and a progress report before byte i whenever i AND 767 is 0 (i mod 1024 is 0
// or 256). False once an abort is reported.
bool CopyPixelBytesWithByteCadence(RoutineFrame& frame) {
  const DibLayout& layout = frame.layout();
  const uint64_t total = uint64_t{layout.stride} * static_cast<uint64_t>(layout.height);
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (uint64_t i = 0; i < total;) {
    if (frame.AskAbort()) return false;
    ReportProgress(static_cast<int>(i * 100 / total));
    const uint64_t next = (i & 1023) == 0 ? i + 256 : i + 768;
    const uint64_t end = std::min(next, total);
    std::copy(in + i, in + end, out + i);
    i = end;
  }
  return true;
}

}  // namespace

HGLOBAL HueSaturation(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const HueSaturationParams*>(record);
  if (params.hue < -180 || params.hue > 180) return nullptr;
  if (params.saturation < -100 || params.saturation > 100) return nullptr;

  RoutineFrame frame(kToneKinds);
  int32_t* pull = frame.AllocateTable<int32_t>(256);
  int32_t* keep = frame.AllocateTable<int32_t>(256);
  int32_t* sixty = frame.AllocateTable<int32_t>(256);
  if (!pull || !keep || !sixty) return nullptr;
  for (int k = 0; k < 256; ++k) {
    pull[k] = (128 * k * params.saturation + 50) / 100;
    keep[k] = 128 * k - pull[k];
    sixty[k] = 60 * k;
  }
  if (params.hue == 0 && params.saturation == 0) return nullptr;

  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.DiscardAbortQuery();
  frame.CopyHeaderAndPalette();
  const HueSaturationTransform transform{pull, keep, sixty, params.hue};
  if (frame.kind() == kDibRgb24) {
    MapRgbColours(frame, transform);
  } else if (CopyPixelBytesWithByteCadence(frame)) {
    // Grey ramps take this path too: their grey entries come back unchanged.
    MapPaletteColours(frame, transform);
  }
  return frame.Finish();
}
