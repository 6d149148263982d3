// Effect 22, find contour: the inner boundary of the regions brighter than a threshold, in
// white on black, per channel.
#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

// Byte offsets examined inside a pixel, by `channel` (0 all, 1 red, 2 green, 3 blue) for
// 24-bit images; grey ramps examine their one byte whatever `channel` says.
struct ExaminedBytes {
  int count;
  int offsets[3];
};
constexpr ExaminedBytes kRgbBytes[] = {
    {3, {0, 1, 2}},  // all: blue, green, red each on their own
    {1, {2}},        // red
    {1, {1}},        // green
    {1, {0}},        // blue
};
constexpr ExaminedBytes kGreyBytes = {1, {0}};

}  // namespace

HGLOBAL FindContour(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const FindContourParams*>(record);
  const int t = params.threshold;
  if (params.enabled == 0 || params.channel < 0 || params.channel > 3 || t < 1 || t > 254) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib)) return nullptr;
  const DibLayout& layout = frame.layout();
  if (layout.width < 4 || layout.height < 4) return nullptr;
  if (!frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // The border rows and columns, and the bytes not examined, stay 0 from the allocation.
  const int channels = ChannelsOf(layout);
  const ExaminedBytes& bytes = channels == 3 ? kRgbBytes[params.channel] : kGreyBytes;
  const ptrdiff_t stride = layout.stride;
  for (int y = 1; y < layout.height - 1; ++y) {
    if (!frame.BeginRow(y)) break;
    const uint8_t* in = frame.sourcePixels() + y * stride;
    uint8_t* out = frame.resultPixels() + y * stride;
    if (bytes.count == channels) {
      // Every byte examined: one plain loop over the interior of the row, which the compiler
      // vectorises.
      const ptrdiff_t end = ptrdiff_t(layout.width - 1) * channels;
      const uint8_t level = static_cast<uint8_t>(t);
      for (ptrdiff_t i = channels; i < end; ++i) {
        const int inside = in[i] > level;
        const int edge = (in[i - channels] <= level) | (in[i + channels] <= level) | (in[i + stride] <= level) |
                         (in[i - stride] <= level);
        out[i] = static_cast<uint8_t>(-(inside & edge));
      }
      continue;
    }
    for (int x = 1; x < layout.width - 1; ++x) {
      for (int b = 0; b < bytes.count; ++b) {
        const ptrdiff_t i = ptrdiff_t(x) * channels + bytes.offsets[b];
        const bool inside = in[i] > t;
        const bool edge = in[i - channels] <= t || in[i + channels] <= t || in[i + stride] <= t || in[i - stride] <= t;
        out[i] = inside && edge ? 255 : 0;
      }
    }
  }
  return frame.Finish();
}
