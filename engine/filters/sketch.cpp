// Effect 32, sketch: a line drawing from the Sobel edge strength |vertical gradient| +
// |horizontal gradient|, as bright lines on black (crayon) or dark grey lines on white
// (pencil). The first pass keeps the vertical part in the result itself.
#include <cstdlib>
#include <cstring>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

constexpr int kCrayon = 1;
constexpr int kPencil = 2;

// One channel's level for edge strength e: background below the threshold, e itself (crayon)
// or 255 - e (pencil) below 255, the line colour from 255 on. Selects only, no branches.
inline uint8_t ChannelLevel(int16_t e, int16_t t, bool pencil) {
  const int16_t line = std::min<int16_t>(e, 255);
  return static_cast<uint8_t>(e < t ? (pencil ? 255 : 0) : pencil ? 255 - line : line);
}

// The gradients stay within +-1020 and the strengths within 1275: 16-bit values, so that the
// row loops vectorise eight or sixteen bytes at a time.
inline int16_t Magnitude(int16_t v) { return v < 0 ? int16_t(-v) : v; }

// Vertical gradient at byte i: the next stored row minus the previous one, Sobel weights.
inline int16_t VerticalGradient(const uint8_t* p, ptrdiff_t i, ptrdiff_t stride, int channels) {
  const uint8_t* next = p + i + stride;
  const uint8_t* previous = p + i - stride;
  return int16_t((int16_t(next[-channels]) + 2 * int16_t(next[0]) + int16_t(next[channels])) -
                 (int16_t(previous[-channels]) + 2 * int16_t(previous[0]) + int16_t(previous[channels])));
}

// Horizontal gradient at byte i: the right column minus the left one, Sobel weights.
inline int16_t HorizontalGradient(const uint8_t* p, ptrdiff_t i, ptrdiff_t stride, int channels) {
  const uint8_t* right = p + i + channels;
  const uint8_t* left = p + i - channels;
  return int16_t((int16_t(right[-stride]) + 2 * int16_t(right[0]) + int16_t(right[stride])) -
                 (int16_t(left[-stride]) + 2 * int16_t(left[0]) + int16_t(left[stride])));
}

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
  frame.DiscardAbortQuery();

  const int channels = ChannelsOf(layout);
  const ptrdiff_t stride = layout.stride;
  const size_t rowBytes = size_t(width) * channels;
  const uint8_t* source = frame.sourcePixels();
  uint8_t* result = frame.resultPixels();

  // First pass: min(|V|, 255) into every interior byte.
  for (int y = 1; y < height - 1; ++y) {
    if (!frame.BeginPassStep(y, height, 0, 50)) return frame.Finish();
    uint8_t* out = result + y * stride;
    for (ptrdiff_t i = channels; i < ptrdiff_t(rowBytes) - channels; ++i) {
      out[i] = static_cast<uint8_t>(std::min<int16_t>(Magnitude(VerticalGradient(source, y * stride + i, stride, channels)), 255));
    }
  }
  std::memset(result, background, rowBytes);

  // Second pass: e = |H| + the stored vertical part, then the style's levels.
  const bool rgbPencil = pencil && channels == 3;
  for (int y = 1; y < height - 1; ++y) {
    if (!frame.BeginPassStep(y, height, 50, 50)) return frame.Finish();
    uint8_t* out = result + y * stride;
    std::memset(out, background, channels);
    std::memset(out + rowBytes - channels, background, channels);
    if (!rgbPencil) {
      // Each byte on its own: one plain loop the compiler vectorises.
      const uint8_t* in = source + y * stride;
      const ptrdiff_t end = ptrdiff_t(rowBytes) - channels;
      for (ptrdiff_t i = channels; i < end; ++i) {
        out[i] = ChannelLevel(int16_t(Magnitude(HorizontalGradient(in, i, stride, channels)) + out[i]), int16_t(t), pencil);
      }
      continue;
    }
    for (int x = 1; x < width - 1; ++x) {
      const ptrdiff_t first = ptrdiff_t(x) * channels;
      int e[3];
      for (int c = 0; c < channels; ++c) {
        e[c] = Magnitude(HorizontalGradient(source, y * stride + first + c, stride, channels)) + out[first + c];
      }
      // 24-bit pencil: one grey line from the mean of the three clamped strengths.
      const int m = (std::min(e[0], 255) + std::min(e[1], 255) + std::min(e[2], 255)) / 3;
      std::memset(out + first, m < t ? 255 : 255 - m, 3);
    }
  }
  std::memset(result + (height - 1) * stride, background, rowBytes);
  return frame.Finish();
}
