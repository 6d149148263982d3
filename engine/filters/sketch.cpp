// Effect 32, sketch: a line drawing from the Sobel edge strength |vertical gradient| +
// |horizontal gradient|, as bright lines on black (crayon) or dark grey lines on white
// (pencil).
#include <cstdlib>
#include <cstring>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"
#include "engine/wide_kernels.h"

namespace {

constexpr int kCrayon = 1;
constexpr int kPencil = 2;

// Per byte of a row, the column sums of the 3 x 3 window: s = upper + 2 centre + lower row
// (for the horizontal gradient) and d = lower - upper row (for the vertical one). 16-bit
// lanes, so that the loops vectorise eight or sixteen bytes at a time.
FXUI_KERNEL_BODY void SobelColumns(const uint8_t* __restrict up, const uint8_t* __restrict mid, const uint8_t* __restrict down,
                  int16_t* __restrict s, int16_t* __restrict d, ptrdiff_t count) {
  for (ptrdiff_t j = 0; j < count; ++j) {
    s[j] = int16_t(up[j] + 2 * mid[j] + down[j]);
    d[j] = int16_t(down[j] - up[j]);
  }
}

// The edge strength min(|V|, 255) + |H| decides everything through min(e, 255) and e < t
// with t at most 254: both are the same with min(|V| + |H|, 255), which is what this gives
// for bytes from ... to - 1 (the gradients stay within +-1020).
FXUI_KERNEL_BODY void Strengths(const int16_t* __restrict s, const int16_t* __restrict d, uint8_t* __restrict out, ptrdiff_t from,
               ptrdiff_t to, int channels) {
  const ptrdiff_t l = -channels, r = channels;
  for (ptrdiff_t j = from; j < to; ++j) {
    const int16_t h = int16_t(s[j + r] - s[j + l]);
    const int16_t v = int16_t(d[j + l] + 2 * d[j] + d[j + r]);
    const int16_t e = int16_t((h < 0 ? -h : h) + (v < 0 ? -v : v));
    out[j] = static_cast<uint8_t>(e < 255 ? e : 255);
  }
}

// Each byte on its own (crayon, and pencil on grey ramps): the background below the threshold,
// else the strength (crayon) or 255 minus it (pencil: x ^ 255 is 255 - x for a byte).
FXUI_KERNEL_BODY void ChannelLevels(const int16_t* __restrict s, const int16_t* __restrict d, uint8_t* __restrict out,
                   ptrdiff_t from, ptrdiff_t to, int channels, uint8_t t, uint8_t background) {
  const ptrdiff_t l = -channels, r = channels;
  for (ptrdiff_t j = from; j < to; ++j) {
    const int16_t h = int16_t(s[j + r] - s[j + l]);
    const int16_t v = int16_t(d[j + l] + 2 * d[j] + d[j + r]);
    const int16_t e = int16_t((h < 0 ? -h : h) + (v < 0 ? -v : v));
    const uint8_t strength = static_cast<uint8_t>(e < 255 ? e : 255);
    out[j] = static_cast<uint8_t>(strength < t ? background : strength ^ background);
  }
}

// The final levels of one interior row's samples from channels to rowBytes - channels, from
// its three source rows (`in` the middle one, `stride` apart).
struct SketchRowArgs {
  const uint8_t* in;
  ptrdiff_t stride;
  uint8_t* out;
  int16_t* s;
  int16_t* d;
  uint8_t* strengths;  // for 24-bit pencil
  ptrdiff_t rowBytes;
  int channels;
  uint8_t t;
  uint8_t background;
  bool rgbPencil;
};

template <bool kWide>
FXUI_KERNEL_BODY void SketchRowBody(const SketchRowArgs& a) {
  const ptrdiff_t c = a.channels;
  SobelColumns(a.in - a.stride, a.in, a.in + a.stride, a.s, a.d, a.rowBytes);
  if (!a.rgbPencil) {
    ChannelLevels(a.s, a.d, a.out, c, a.rowBytes - c, a.channels, a.t, a.background);
    return;
  }
  // 24-bit pencil: one grey line from the mean of the three clamped strengths.
  Strengths(a.s, a.d, a.strengths, c, a.rowBytes - c, a.channels);
  for (ptrdiff_t first = c; first < a.rowBytes - c; first += 3) {
    const int m = (a.strengths[first] + a.strengths[first + 1] + a.strengths[first + 2]) / 3;
    std::memset(a.out + first, m < a.t ? 255 : 255 - m, 3);
  }
}

FXUI_DUAL_KERNEL(SketchRow, const SketchRowArgs&)

}  // namespace

HGLOBAL Sketch(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const SketchParams*>(record);
  const int t = params.threshold;
  if ((params.style != kCrayon && params.style != kPencil) || t < 0 || t > 254) return nullptr;
  const bool pencil = params.style == kPencil;
  const uint8_t background = pencil ? 255 : 0;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib)) return nullptr;
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  if (width < 4 || height < 4) return nullptr;
  if (!frame.CreateResult()) return nullptr;
  // The header by its own size field, then the grey ramp's palette.
  frame.CopyHeaderBySizeField();
  if (frame.kind() == kDibGreyRamp) frame.CopyPalette();
  const int channels = ChannelsOf(layout);
  const ptrdiff_t stride = layout.stride;
  const ptrdiff_t rowBytes = ptrdiff_t(width) * channels;
  // The two column lines, and for 24-bit pencil the strengths of a row.
  int16_t* s = frame.AllocateTable<int16_t>(2 * size_t(rowBytes));
  uint8_t* strengths = frame.AllocateTable<uint8_t>(size_t(rowBytes));
  if (!s || !strengths) return nullptr;
  int16_t* d = s + rowBytes;
  frame.DiscardAbortQuery();

  const uint8_t* source = frame.sourcePixels();
  uint8_t* result = frame.resultPixels();
  const bool rgbPencil = pencil && channels == 3;
  // The strength of a sample needs only the source, so the first pass makes the final levels
  // of the interior; the second pass, with the same abort tests and progress reports, draws
  // the background of the first and last pixel of each row.
  for (int y = 1; y < height - 1; ++y) {
    if (!frame.BeginPassStep(y, height, 0, 50)) return frame.Finish();
    SketchRow(SketchRowArgs{source + y * stride, stride, result + y * stride, s, d, strengths, rowBytes, channels,
                            uint8_t(t), background, rgbPencil});
  }
  std::memset(result, background, size_t(rowBytes));
  for (int y = 1; y < height - 1; ++y) {
    if (!frame.BeginPassStep(y, height, 50, 50)) return frame.Finish();
    uint8_t* out = result + y * stride;
    std::memset(out, background, size_t(channels));
    std::memset(out + rowBytes - channels, background, size_t(channels));
  }
  std::memset(result + (height - 1) * stride, background, size_t(rowBytes));
  return frame.Finish();
}
