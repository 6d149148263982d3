// Effect 56, Magic Mirror: pixels moved by a curve of 256 levels read as a mapping of
// positions: output position p (on a 0..255 scale) takes the pixel from position value(p).
// The curve acts across the columns, across the rows, on the distance from the centre (the
// radial warp's mapping with a curve-made factor table) or as a turn about the centre (the
// rotational warp's). Every output pixel is a copy of one source pixel.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/distort/warp_mapping.h"
#include "engine/routine_frame.h"
#include "engine/special/special.h"

namespace {

enum Mapping { kAcross = 0, kDown = 1, kRadial = 2, kAngular = 3 };

// Any 8-bit image, grey ramp or not, and 24-bit images. The header and palette are copied in
// one piece: 1064 bytes for the 256-entry palettes this is meant for; another colour count
// keeps its own palette size, so that the result stays a well-formed image.
constexpr unsigned kMirrorKinds = DibKindBit(kDibRgb24) | DibKindBit(kDibGreyRamp) | DibKindBit(kDibPalette8);

constexpr double kRingToLevel = 0.498046875;  // ring index i to the position i x 255 / 512

// The curve sampled at a real position t in 0..255, linearly between its entries.
double CurveValue(const uint8_t* curve, double t) {
  const int i = std::min(static_cast<int>(t), 255);
  const double value = (i + 1 - t) * curve[i];
  return i < 255 ? value + (t - i) * curve[i + 1] : value;
}

int PixelBytes(const RoutineFrame& frame) { return frame.kind() == kDibRgb24 ? 3 : 1; }

// Rows of the mirror, the abort test and progress on every 32nd row.
template <typename RowWork>
void MirrorRows(RoutineFrame& frame, RowWork row) {
  for (int32_t y = 0; y < frame.layout().height; ++y) {
    if (!frame.BeginRow(y, 32, 32)) return;
    row(y);
  }
}

// ---- Line mapper (mappings 0 and 1) ----------------------------------------------------------

// One entry per column (mapping 0) or row (mapping 1): t steps from 0 to 255 by repeated
// addition and the entry is value(t) on the scale of the N - 1 positions, rounded. N is at
// least 2; for an image one pixel across, entries are kept to its one position (the raised N
// could otherwise point one past it).
void FillLineTable(int32_t* table, const uint8_t* curve, int32_t positions) {
  const int32_t n = std::max(positions, 2);
  const double step = 255.0 / (n - 1);
  const double scale = (n - 1) * 0.00392156862745098;
  double t = 0.0;
  for (int32_t k = 0; k < n; ++k, t += step) {
    table[k] = std::min(static_cast<int32_t>(CurveValue(curve, t) * scale + 0.5), positions - 1);
  }
}

bool LineMirror(RoutineFrame& frame, const uint8_t* curve, int mapping) {
  const DibLayout& layout = frame.layout();
  const int32_t positions = mapping == kAcross ? layout.width : layout.height;
  int32_t* table = frame.AllocateTable<int32_t>(size_t(std::max(positions, 2)));
  if (!table) return false;
  FillLineTable(table, curve, positions);
  frame.CopyHeaderAndPalette();
  const uint8_t* source = frame.sourcePixels();
  uint8_t* result = frame.resultPixels();
  const size_t stride = layout.stride;
  const int bytes = PixelBytes(frame);
  if (mapping == kDown) {
    MirrorRows(frame, [&](int32_t y) {
      std::memcpy(result + y * stride, source + table[y] * stride, size_t(layout.width) * bytes);
    });
    return true;
  }
  MirrorRows(frame, [&](int32_t y) {
    const uint8_t* in = source + y * stride;
    uint8_t* out = result + y * stride;
    for (int32_t x = 0; x < layout.width; ++x) std::memcpy(out + x * bytes, in + table[x] * bytes, bytes);
  });
  return true;
}

// ---- Radial and angular mappers --------------------------------------------------------------

template <typename Law>
bool MapByRing(RoutineFrame& frame, const Law& law) {
  const DibLayout& layout = frame.layout();
  RingScale ring(layout.width, layout.height);
  int32_t* parts = frame.AllocateTable<int32_t>(size_t(layout.width));
  if (!parts) return false;
  ring.FillColumnParts(layout.width, parts);
  frame.CopyHeaderAndPalette();
  const WarpImage image{frame.sourcePixels(), frame.resultPixels(), layout.width, layout.height,
                        layout.stride, PixelBytes(frame)};
  WarpRows(image, ring, law, [&](int32_t row) { return frame.BeginRow(row, 32, 32); });
  return true;
}

// Radial: the factor at ring index i scales the distance from the centre so that position t
// = i x 255 / 512 comes from value(t): 1 + d / 100 for d = t - value(t) >= 0, 1 / (1 - d / 100)
// otherwise.
bool RadialMirror(RoutineFrame& frame, const uint8_t* curve) {
  int32_t* f = frame.AllocateTable<int32_t>(kWarpTableSize);
  if (!f) return false;
  for (int i = 1; i < kWarpTableSize; ++i) {
    const double t = i * kRingToLevel;
    const double d = t - CurveValue(curve, t);
    const double e = d * 0.01;
    f[i] = static_cast<int32_t>(d >= 0 ? (1.0 + e) * 16384.0 : 16384.0 / (1.0 - e));
  }
  return MapByRing(frame, RadialLaw{f});
}

// Angular: the turn at ring index i is (t - value(t)) x pi / 100 radians.
bool AngularMirror(RoutineFrame& frame, const uint8_t* curve) {
  int32_t* c = frame.AllocateTable<int32_t>(kWarpTableSize);
  int32_t* s = frame.AllocateTable<int32_t>(kWarpTableSize);
  if (!c || !s) return false;
  for (int i = 0; i < kWarpTableSize; ++i) {
    const double t = i * kRingToLevel;
    const double a = (t - CurveValue(curve, t)) * 0.0314159265;
    c[i] = static_cast<int32_t>(std::cos(a) * 16384.0);
    s[i] = static_cast<int32_t>(std::sin(a) * 16384.0);
  }
  return MapByRing(frame, RotationalLaw{c, s});
}

}  // namespace

HGLOBAL MagicMirror(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const MagicMirrorParams*>(record);
  if (params.mapping < kAcross || params.mapping > kAngular) return nullptr;
  if (!dib) return nullptr;

  // The cursor changes only once the result exists: a failed allocation leaves it alone.
  RoutineFrame frame(kMirrorKinds, FrameCursor::kUntouched);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.ShowWaitCursor();
  frame.DiscardAbortQuery();
  // A worker whose table cannot be made gives null; the frame frees the result.
  bool built;
  switch (params.mapping) {
    case kRadial:
      built = RadialMirror(frame, params.curve);
      break;
    case kAngular:
      built = AngularMirror(frame, params.curve);
      break;
    default:
      built = LineMirror(frame, params.curve, params.mapping);
      break;
  }
  return built ? frame.Finish() : nullptr;
}
