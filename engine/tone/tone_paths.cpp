#include "engine/tone/tone_paths.h"

#include <cstring>

void MapRgbRows(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red) {
  const DibLayout& layout = frame.layout();
  const size_t padding = layout.stride - 3 * static_cast<size_t>(layout.width);
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < layout.height; ++row) {
    if (!frame.BeginRow(row)) return;
    for (int x = 0; x < layout.width; ++x) {
      out[0] = blue[in[0]];
      out[1] = green[in[1]];
      out[2] = red[in[2]];
      in += 3;
      out += 3;
    }
    in += padding;
    out += padding;
  }
}

void MapGreyRows(RoutineFrame& frame, const uint8_t* table) {
  const DibLayout& layout = frame.layout();
  const size_t padding = layout.stride - static_cast<size_t>(layout.width);
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < layout.height; ++row) {
    if (!frame.BeginRow(row)) return;
    for (int x = 0; x < layout.width; ++x) *out++ = table[*in++];
    in += padding;
    out += padding;
  }
}

void MapPaletteEntries(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red,
                       FourthByte fourth) {
  const uint8_t* in = frame.source() + kDibHeaderSize;
  uint8_t* out = frame.result() + kDibHeaderSize;
  for (uint32_t i = 0; i < frame.layout().colorCount; ++i, in += 4, out += 4) {
    out[0] = blue[in[0]];
    out[1] = green[in[1]];
    out[2] = red[in[2]];
    out[3] = fourth == FourthByte::kCopy ? in[3] : 0;
  }
}

void CopyPixelRows(RoutineFrame& frame, int cadence) {
  const DibLayout& layout = frame.layout();
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < layout.height; ++row) {
    if (!frame.BeginRow(row, cadence, cadence)) return;
    std::memcpy(out, in, layout.stride);
    in += layout.stride;
    out += layout.stride;
  }
}
