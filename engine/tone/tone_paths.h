// The table-driven paths the tone routines share: 24-bit pixels through one table per channel,
// grey-ramp pixels through one table, and palette images whose palette is mapped while their
// pixel bytes are copied. The steps that differ between routines (which header bytes are
// copied, the palette's fourth byte, the row cadence, what a row copy covers) are arguments,
// so each routine still states its own.
#ifndef FXUI_ENGINE_TONE_TONE_PATHS_H
#define FXUI_ENGINE_TONE_TONE_PATHS_H

#include <array>
#include <cstdint>

#include "engine/routine_frame.h"

// Entry i is i.
extern const std::array<uint8_t, 256> kIdentityLevels;

// Calls row(in, out) with the source and result pixels of each stored row in order, asking the
// abort test before every row and reporting progress on every 16th. The layout is read into
// locals once (and callers capture what they need by value): the byte stores through `out`
// could otherwise change it as far as the compiler knows, and it would be read again after
// every store.
template <typename Row>
void ForEachPixelRow(RoutineFrame& frame, Row row) {
  const int height = frame.layout().height;
  const size_t stride = frame.layout().stride;
  const uint8_t* in = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int y = 0; y < height; ++y, in += stride, out += stride) {
    if (!frame.BeginRow(y)) return;
    row(in, out);
  }
}

// Maps every pixel of a 24-bit image (blue, green, red bytes through their tables); the row
// padding is skipped. Abort test before every row, progress every 16th row.
void MapRgbRows(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red);

// Maps every byte of every row through `table`, the whole stride, row padding included (it
// becomes table[padding]). Same cadence as MapRgbRows.
void MapStrideRows(RoutineFrame& frame, const uint8_t* table);

// MapStrideRows through the complement table (255 - byte), as one loop that vectorises.
void ComplementStrideRows(RoutineFrame& frame);

// Maps every pixel byte of a grey-ramp image through `table`. Same cadence as MapRgbRows.
void MapGreyRows(RoutineFrame& frame, const uint8_t* table);

// Maps the colour-count palette entries into the result; the fourth byte of each result
// entry is copied from the source or left 0.
enum class FourthByte { kCopy, kZero };
void MapPaletteEntries(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red,
                       FourthByte fourth);

// Copies the pixel bytes of a palette image row by row, asking the abort test and reporting
// progress on every `cadence`-th row (abort test first). A row copy covers the whole stride,
// or, for 8-bit images only, the width's pixel bytes, leaving the result's padding zero.
enum class RowCopy { kWholeStride, kSkip8BitPadding };
void CopyPixelRows(RoutineFrame& frame, int cadence, RowCopy copy = RowCopy::kWholeStride);

// Colour-wise paths: `transform(b, g, r)` rewrites one colour in place, its channels taken
// together (hue turns, luminance tests).
// Every pixel of a 24-bit image, padding skipped; abort test before every row, progress
// every 16th row.
template <typename Transform>
void MapRgbColours(RoutineFrame& frame, const Transform& transform) {
  const int width = frame.layout().width;
  ForEachPixelRow(frame, [width, &transform](const uint8_t* in, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
      uint8_t b = in[3 * x], g = in[3 * x + 1], r = in[3 * x + 2];
      transform(b, g, r);
      out[3 * x] = b;
      out[3 * x + 1] = g;
      out[3 * x + 2] = r;
    }
  });
}
// Every colour-count palette entry of the source into the result, its fourth byte copied. No
// abort test or progress.
template <typename Transform>
void MapPaletteColours(RoutineFrame& frame, const Transform& transform) {
  const uint8_t* in = frame.source() + kDibHeaderSize;
  uint8_t* out = frame.result() + kDibHeaderSize;
  for (uint32_t i = 0; i < frame.layout().colorCount; ++i, in += 4, out += 4) {
    uint8_t b = in[0], g = in[1], r = in[2];
    transform(b, g, r);
    out[0] = b;
    out[1] = g;
    out[2] = r;
    out[3] = in[3];
  }
}

// Per-component tables for a channel selector (0 all, 1 red, 2 green, 3 blue): `table` on
// the selected component(s), the identity on the others.
struct ComponentTables {
  ComponentTables(int channel, const uint8_t* table);
  const uint8_t* blue;
  const uint8_t* green;
  const uint8_t* red;
};

// The path of the routines that send the channel(s) of a selector 0..3 through one level
// table (colour reduction, apply a curve), after the result is made:
//   24-bit: header by its size field; the selected bytes of every pixel through `table`,
//           padding skipped, except that colour reduction sends the whole stride of a row
//           through it when all channels are selected (`allChannels`);
//   grey ramp: header and palette in one piece; every pixel through `table`, whatever the
//           channel;
//   palette: header by its size field; the selected components of every palette entry
//           through `table`, fourth byte copied; the pixel rows copied whole.
// Abort test before every row, progress every 16th row.
enum class AllChannelRows { kPixelsOnly, kWholeStride };
void MapSelectedChannels(RoutineFrame& frame, int channel, const uint8_t* table, AllChannelRows allChannels);

#endif
