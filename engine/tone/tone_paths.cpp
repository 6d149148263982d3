#include "engine/tone/tone_paths.h"

#include <cstring>

namespace {

constexpr std::array<uint8_t, 256> MakeIdentityLevels() {
  std::array<uint8_t, 256> levels{};
  for (int i = 0; i < 256; ++i) levels[i] = static_cast<uint8_t>(i);
  return levels;
}

// Four bytes through tables a, b, c, d (in memory order) as one 32-bit word: one load and one
// store per four lookups instead of four each, which is what bounds a byte-at-a-time loop.
// The first byte in memory is the word's low byte (every build is little-endian x86).
inline void MapWord(const uint8_t* in, uint8_t* out, const uint8_t* a, const uint8_t* b, const uint8_t* c,
                    const uint8_t* d) {
  uint32_t w;
  std::memcpy(&w, in, 4);
  const uint32_t mapped = uint32_t(a[w & 255]) | uint32_t(b[(w >> 8) & 255]) << 8 |
                          uint32_t(c[(w >> 16) & 255]) << 16 | uint32_t(d[w >> 24]) << 24;
  std::memcpy(out, &mapped, 4);
}

// Table lookups over `count` bytes, sixteen per step in four independent words.
void MapBytes(const uint8_t* in, uint8_t* out, size_t count, const uint8_t* table) {
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    for (size_t k = i; k < i + 16; k += 4) MapWord(in + k, out + k, table, table, table, table);
  }
  for (; i < count; ++i) out[i] = table[in[i]];
}

// `width` blue, green, red pixels through their tables, four pixels (three words) per step.
void MapRgbPixels(const uint8_t* in, uint8_t* out, int width, const uint8_t* blue, const uint8_t* green,
                  const uint8_t* red) {
  int x = 0;
  for (; x + 4 <= width; x += 4, in += 12, out += 12) {
    MapWord(in, out, blue, green, red, blue);
    MapWord(in + 4, out + 4, green, red, blue, green);
    MapWord(in + 8, out + 8, red, blue, green, red);
  }
  for (; x < width; ++x, in += 3, out += 3) {
    out[0] = blue[in[0]];
    out[1] = green[in[1]];
    out[2] = red[in[2]];
  }
}

}  // namespace

const std::array<uint8_t, 256> kIdentityLevels = MakeIdentityLevels();

void MapRgbRows(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red) {
  const int width = frame.layout().width;
  ForEachPixelRow(frame, [=](const uint8_t* in, uint8_t* out) {
    if (blue == green && green == red) {
      MapBytes(in, out, 3 * size_t(width), blue);
    } else {
      MapRgbPixels(in, out, width, blue, green, red);
    }
  });
}

void MapStrideRows(RoutineFrame& frame, const uint8_t* table) {
  const size_t stride = frame.layout().stride;
  ForEachPixelRow(frame, [=](const uint8_t* in, uint8_t* out) { MapBytes(in, out, stride, table); });
}

void ComplementStrideRows(RoutineFrame& frame) {
  const size_t stride = frame.layout().stride;
  ForEachPixelRow(frame, [=](const uint8_t* in, uint8_t* out) {
    for (size_t i = 0; i < stride; ++i) out[i] = uint8_t(255 - in[i]);  // vectorised
  });
}

void MapGreyRows(RoutineFrame& frame, const uint8_t* table) {
  const size_t width = size_t(frame.layout().width);
  ForEachPixelRow(frame, [=](const uint8_t* in, uint8_t* out) { MapBytes(in, out, width, table); });
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
