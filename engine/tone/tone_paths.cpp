#include "engine/tone/tone_paths.h"

#include <cstring>

namespace {

constexpr std::array<uint8_t, 256> MakeIdentityLevels() {
  std::array<uint8_t, 256> levels{};
  for (int i = 0; i < 256; ++i) levels[i] = static_cast<uint8_t>(i);
  return levels;
}

}  // namespace

const std::array<uint8_t, 256> kIdentityLevels = MakeIdentityLevels();

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

void MapStrideRows(RoutineFrame& frame, const uint8_t* table) {
  const DibLayout& layout = frame.layout();
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < layout.height; ++row) {
    if (!frame.BeginRow(row)) return;
    for (uint32_t i = 0; i < layout.stride; ++i) *out++ = table[*in++];
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

void CopyPixelRows(RoutineFrame& frame, int cadence, RowCopy copy) {
  const DibLayout& layout = frame.layout();
  const size_t bytes = copy == RowCopy::kSkip8BitPadding && layout.bitCount == 8
                           ? static_cast<size_t>(layout.width)
                           : layout.stride;
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < layout.height; ++row) {
    if (!frame.BeginRow(row, cadence, cadence)) return;
    std::memcpy(out, in, bytes);
    in += layout.stride;
    out += layout.stride;
  }
}

ComponentTables::ComponentTables(int channel, const uint8_t* table)
    : blue(channel == 0 || channel == 3 ? table : kIdentityLevels.data()),
      green(channel == 0 || channel == 2 ? table : kIdentityLevels.data()),
      red(channel == 0 || channel == 1 ? table : kIdentityLevels.data()) {}

void MapSelectedChannels(RoutineFrame& frame, int channel, const uint8_t* table, AllChannelRows allChannels) {
  const ComponentTables tables(channel, table);
  switch (frame.kind()) {
    case kDibRgb24:
      frame.CopyHeaderBySizeField();
      if (channel == 0 && allChannels == AllChannelRows::kWholeStride) {
        MapStrideRows(frame, table);
      } else {
        MapRgbRows(frame, tables.blue, tables.green, tables.red);
      }
      break;
    case kDibGreyRamp:
      frame.CopyHeaderAndPalette();
      MapGreyRows(frame, table);
      break;
    default:
      frame.CopyHeaderBySizeField();
      MapPaletteEntries(frame, tables.blue, tables.green, tables.red, FourthByte::kCopy);
      CopyPixelRows(frame, 1);
      break;
  }
}
