#include "engine/tone/tone_paths.h"

#include <cstring>

namespace {

constexpr std::array<uint8_t, 256> MakeIdentityLevels() {
  std::array<uint8_t, 256> levels{};
  for (int i = 0; i < 256; ++i) levels[i] = static_cast<uint8_t>(i);
  return levels;
}

// Table lookups over `count` bytes, four independent ones per step.
void MapBytes(const uint8_t* in, uint8_t* out, size_t count, const uint8_t* table) {
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const uint8_t a = table[in[i]], b = table[in[i + 1]], c = table[in[i + 2]], d = table[in[i + 3]];
    out[i] = a;
    out[i + 1] = b;
    out[i + 2] = c;
    out[i + 3] = d;
  }
  for (; i < count; ++i) out[i] = table[in[i]];
}

}  // namespace

const std::array<uint8_t, 256> kIdentityLevels = MakeIdentityLevels();

// The row loops keep the layout in locals: a byte stored through `out` could otherwise change
// it as far as the compiler knows, and it would be read again after every store.
void MapRgbRows(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red) {
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  const size_t stride = layout.stride;
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < height; ++row, in += stride, out += stride) {
    if (!frame.BeginRow(row)) return;
    for (int x = 0; x < width; ++x) {
      out[3 * x] = blue[in[3 * x]];
      out[3 * x + 1] = green[in[3 * x + 1]];
      out[3 * x + 2] = red[in[3 * x + 2]];
    }
  }
}

void MapStrideRows(RoutineFrame& frame, const uint8_t* table) {
  const DibLayout& layout = frame.layout();
  const int height = layout.height;
  const size_t stride = layout.stride;
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < height; ++row, in += stride, out += stride) {
    if (!frame.BeginRow(row)) return;
    MapBytes(in, out, stride, table);
  }
}

void MapGreyRows(RoutineFrame& frame, const uint8_t* table) {
  const DibLayout& layout = frame.layout();
  const int height = layout.height;
  const size_t stride = layout.stride, width = size_t(layout.width);
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int row = 0; row < height; ++row, in += stride, out += stride) {
    if (!frame.BeginRow(row)) return;
    MapBytes(in, out, width, table);
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
