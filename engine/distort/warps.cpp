// Effects 64 and 57, the radial and rotational warps, and the fixed-mode entry points 41, 48,
// 55, 49 and 50. Each builds its 512-entry factor tables once per call in double precision,
// then maps every pixel with integer arithmetic only (warp_mapping.h).
#include <cmath>

#include "engine/distort/distort.h"
#include "engine/distort/warp_mapping.h"
#include "engine/routine_frame.h"

namespace {

enum RadialMode { kCone = 1, kSphere = 2, kFisheye = 3 };
enum RotationalMode { kSpiralTurn = 1, kWhirlpoolTurn = 2, kHalfAngleTurn = 3, kShrinkingTurn = 4 };

constexpr double kRingStep = 0.001953125;  // 1 / 512: ring index to squared radius

int32_t Fixed(double factor) { return static_cast<int32_t>(factor); }  // truncates toward zero

// F[i] for the squared radius x = i / 512; F[0] is never used and stays 0.
void FillRadialTable(int32_t* f, int mode, int amount) {
  for (int i = 1; i < kWarpTableSize; ++i) {
    const double x = i * kRingStep;
    switch (mode) {
      case kCone:
        f[i] = Fixed(16384.0 / std::pow(x, amount * 0.003));
        break;
      case kSphere: {
        const double q = std::sqrt(x);
        f[i] = Fixed(2.0 * std::asin(q) / (3.14159265 * q) * 16384.0);
        break;
      }
      default:
        f[i] = Fixed(std::pow(x, amount * 0.0075) * 16384.0);
        break;
    }
  }
}

// C[i] and S[i] for the radius q = sqrt(i / 512).
void FillRotationalTables(int32_t* c, int32_t* s, int mode, int amount) {
  for (int i = 0; i < kWarpTableSize; ++i) {
    const double q = std::sqrt(i * kRingStep);
    double cosine, sine;
    switch (mode) {
      case kSpiralTurn: {
        const double a = (q * amount) * 0.125663706;
        cosine = std::cos(a) * 16384.0;
        sine = std::sin(a) * 16384.0;
        break;
      }
      case kWhirlpoolTurn: {
        const double a = ((q - 1.0) * (q - 1.0) * amount) * -0.062831853;
        cosine = std::cos(a) * 16384.0;
        sine = std::sin(a) * 16384.0;
        break;
      }
      case kHalfAngleTurn:
        cosine = (1.0 - q * q) * 16384.0 / (1.0 + q * q);
        sine = q * 32768.0 / (1.0 + q * q);
        break;
      default:
        cosine = (1.0 - q) * 16384.0;
        sine = std::sqrt(2.0 * q * (1.0 - q)) * 16384.0;
        break;
    }
    c[i] = Fixed(cosine);
    s[i] = Fixed(sine);
  }
}

// The rows of a warp whose tables are filled: header and palette, the discarded abort query,
// then every row with the abort test and progress every 16th row.
template <typename Law>
HGLOBAL MapRows(RoutineFrame& frame, const Law& law) {
  const DibLayout& layout = frame.layout();
  RingScale ring(layout.width, layout.height);
  // The column parts of the ring index; like the factor tables, a table that cannot be made
  // gives null.
  int32_t* parts = frame.AllocateTable<int32_t>(size_t(layout.width));
  if (!parts) return nullptr;
  ring.FillColumnParts(layout.width, parts);
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  const WarpImage image{frame.sourcePixels(), frame.resultPixels(), layout.width, layout.height,
                        layout.stride, frame.kind() == kDibRgb24 ? 3 : 1};
  WarpRows(image, ring, law, [&](int32_t row) { return frame.BeginRow(row); });
  return frame.Finish();
}

}  // namespace

HGLOBAL RadialWarp(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const RadialWarpParams*>(record);
  if (params.mode < kCone || params.mode > kFisheye) return nullptr;
  if (params.mode != kSphere && (params.amount < 1 || params.amount > 100)) return nullptr;
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  // The table comes after the result; if it cannot be made the result is freed and the
  // routine gives null, as when the result itself cannot be made.
  int32_t* f = frame.AllocateTable<int32_t>(kWarpTableSize);
  if (!f) return nullptr;
  FillRadialTable(f, params.mode, params.amount);
  return MapRows(frame, RadialLaw{f});
}

HGLOBAL RotationalWarp(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const RotationalWarpParams*>(record);
  if (params.mode < kSpiralTurn || params.mode > kShrinkingTurn) return nullptr;
  if (params.amount < 1 || params.amount > 100) return nullptr;
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  // As in the radial warp, a table that cannot be made gives null.
  int32_t* c = frame.AllocateTable<int32_t>(kWarpTableSize);
  int32_t* s = frame.AllocateTable<int32_t>(kWarpTableSize);
  if (!c || !s) return nullptr;
  FillRotationalTables(c, s, params.mode, params.amount);
  return MapRows(frame, RotationalLaw{c, s});
}

HGLOBAL Fisheye(HGLOBAL dib, int32_t amount) {
  const RadialWarpParams params{kFisheye, amount};
  return RadialWarp(dib, &params);
}

HGLOBAL Cone(HGLOBAL dib, int32_t amount) {
  const RadialWarpParams params{kCone, amount};
  return RadialWarp(dib, &params);
}

HGLOBAL Sphere(HGLOBAL dib) {
  const RadialWarpParams params{kSphere, 20};  // the amount is not read by the sphere law
  return RadialWarp(dib, &params);
}

HGLOBAL Whirlpool(HGLOBAL dib, int32_t amount) {
  const RotationalWarpParams params{kWhirlpoolTurn, amount};
  return RotationalWarp(dib, &params);
}

HGLOBAL Spiral(HGLOBAL dib, int32_t amount) {
  const RotationalWarpParams params{kSpiralTurn, amount};
  return RotationalWarp(dib, &params);
}
