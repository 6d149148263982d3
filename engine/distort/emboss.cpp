// Effect 54, emboss: each pixel becomes the signed difference between a neighbour at depth D
// in one of eight directions and the pixel itself (or, in Original mode, the pixel on the far
// side), lifted onto a base. A band D wide along every edge, where the neighbour would lie
// outside, is filled by mode instead.
#include <algorithm>
#include <cstring>

#include "engine/distort/distort.h"
#include "engine/routine_frame.h"

namespace {

enum EmbossMode { kOriginal = 1, kMidtone = 2, kGray = 3, kActive = 4 };

// The neighbour p + o of each direction, in units of D (columns, stored rows; +1 row is one
// row higher in the picture), and the sign of the difference. Opposite buttons share the
// neighbour with opposite signs.
struct Neighbour {
  int dx, dy, sign;
};
constexpr Neighbour kNeighbours[8] = {
    //  dx  dy  sign
    {-1, +1, -1},  // 1 up-left
    {0, +1, -1},   // 2 up
    {+1, +1, -1},  // 3 up-right
    {+1, 0, +1},   // 4 left
    {+1, 0, -1},   // 5 right
    {+1, +1, +1},  // 6 down-left
    {0, +1, +1},   // 7 down
    {-1, +1, +1},  // 8 down-right
};

uint8_t Clamp255(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// A third of a signed sum, truncated toward zero (for negative sums too).
int Trunc3(int sum) { return sum / 3; }

int Sum(const uint8_t* p) { return p[0] + p[1] + p[2]; }

struct EmbossRun {
  int mode;
  int sign;
  ptrdiff_t offset;  // bytes from p to p + o
  uint8_t base[3];   // blue, green, red: the per-channel base and the border fill
  int pixelBytes;
};

// Computed pixels of one row, columns [first, last).
template <int kPixelBytes>
void ComputeSpan(const EmbossRun& run, const uint8_t* in, uint8_t* out, int first, int last) {
  const int s = run.sign;
  for (int x = first; x < last; ++x) {
    const uint8_t* p = in + x * kPixelBytes;
    const uint8_t* plus = p + run.offset;
    const uint8_t* minus = p - run.offset;
    uint8_t* q = out + x * kPixelBytes;
    if constexpr (kPixelBytes == 1) {
      if (run.mode == kOriginal) {
        q[0] = Clamp255(p[0] + s * (plus[0] - minus[0]));
      } else {  // Midtone and Gray (base 128) and Active (the red byte of the base colour)
        q[0] = Clamp255(run.base[0] + s * (plus[0] - p[0]));
      }
    } else if (run.mode == kOriginal) {
      const int lift = s * Trunc3(Sum(plus) - Sum(minus));
      for (int c = 0; c < 3; ++c) q[c] = Clamp255(p[c] + lift);
    } else if (run.mode == kGray) {
      const uint8_t grey = Clamp255(128 + s * Trunc3(Sum(plus) - Sum(p)));
      q[0] = q[1] = q[2] = grey;
    } else {  // Midtone (base 128) and Active (the base colour), per channel
      for (int c = 0; c < 3; ++c) q[c] = Clamp255(run.base[c] + s * (plus[c] - p[c]));
    }
  }
}

// Border pixels of one row, columns [first, last): the source pixel in Original mode, else the
// mode's fill.
void FillSpan(const EmbossRun& run, const uint8_t* in, uint8_t* out, int first, int last) {
  const int n = run.pixelBytes;
  if (run.mode == kOriginal) {
    std::memcpy(out + first * n, in + first * n, size_t(last - first) * n);
    return;
  }
  for (int x = first; x < last; ++x) std::memcpy(out + x * n, run.base, n);
}

}  // namespace

HGLOBAL Emboss(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const EmbossParams*>(record);
  if (params.mode < kOriginal || params.mode > kActive) return nullptr;
  if (params.depth < 1 || params.depth > 10) return nullptr;
  if (params.direction < 1 || params.direction > 8) return nullptr;
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const DibLayout& layout = frame.layout();
  const int w = layout.width, h = layout.height;
  const int d = std::min({params.depth, w / 2, h / 2});
  const Neighbour& neighbour = kNeighbours[params.direction - 1];
  const bool rgb = frame.kind() == kDibRgb24;

  EmbossRun run{params.mode, neighbour.sign, 0, {128, 128, 128}, rgb ? 3 : 1};
  run.offset = ptrdiff_t{neighbour.dy} * d * ptrdiff_t(layout.stride) + neighbour.dx * d * run.pixelBytes;
  const auto red = static_cast<uint8_t>(params.baseColor);
  if (params.mode == kActive) {
    if (rgb) {
      run.base[0] = static_cast<uint8_t>(params.baseColor >> 16);
      run.base[1] = static_cast<uint8_t>(params.baseColor >> 8);
      run.base[2] = red;
    } else {
      run.base[0] = red;
    }
  }

  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int y = 0; y < h; ++y, in += layout.stride, out += layout.stride) {
    if (y < d || y >= h - d) {  // the bottom and top bands: no progress reports
      if (frame.AskAbort()) break;
      FillSpan(run, in, out, 0, w);
      continue;
    }
    if (!frame.BeginRow(y)) break;
    FillSpan(run, in, out, 0, d);
    if (rgb) {
      ComputeSpan<3>(run, in, out, d, w - d);
    } else {
      ComputeSpan<1>(run, in, out, d, w - d);
    }
    FillSpan(run, in, out, w - d, w);
  }
  return frame.Finish();
}
