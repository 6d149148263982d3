// Effect 67, tone adjustment: highlight, midtone and shadow turned into a 256-entry curve,
// which effect 3 applies. No pixel work of its own.
#include <algorithm>
#include <cmath>

#include "engine/special/special.h"
#include "engine/tone/tone.h"

namespace {

// h, m and s are the record's values, any 32-bit number: the sums below are kept in 64 bits.
void BuildToneCurve(int64_t h, int64_t m, int64_t s, uint8_t* curve) {
  const double gamma = m >= 0 ? 1 - m * 0.0045 : 1 - m * 0.035;
  const int64_t inLow = std::max<int64_t>(0, -s);
  const int64_t inHigh = 255 - std::max<int64_t>(0, h);
  const int64_t outLow = std::max<int64_t>(0, s);
  const int64_t outCut = std::max<int64_t>(0, -h);
  const int64_t range = std::max<int64_t>(1, inHigh - inLow);
  for (int i = 0; i < 256; ++i) {
    int64_t value;
    if (i <= inLow) {
      value = 0;
    } else if (i >= inHigh) {
      value = 255;
    } else if (outCut + outLow >= 255) {
      value = outLow;
    } else {
      const double span = static_cast<double>(255 - outCut - outLow);
      const double lifted = std::pow(static_cast<double>(i - inLow) / static_cast<double>(range), gamma) * span + 0.5;
      // A negative gamma can make the power huge; anything past 255 clamps to 255 anyway.
      value = static_cast<int64_t>(std::min(lifted, 512.0)) + outLow;
    }
    curve[i] = static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
  }
}

}  // namespace

HGLOBAL ToneAdjustment(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const ToneAdjustmentParams*>(record);
  CurveParams curve;
  curve.channel = params.channel;
  BuildToneCurve(params.highlight, params.midtone, params.shadow, curve.curve);
  return ApplyCurve(dib, &curve);
}
