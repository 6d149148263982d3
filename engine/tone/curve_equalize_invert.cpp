// Effects 3, 5 and 6: a curve from the record, equalisation from the image's own histogram,
// and the negative.
#include <algorithm>

#include "engine/routine_frame.h"
#include "engine/tone/tone.h"
#include "engine/tone/tone_paths.h"

namespace {

// ---- Equalise ----------------------------------------------------------------------------

// Counts every blue, green and red byte of a 24-bit image in one histogram.
// Adds the levels of `count` bytes to the histogram through four partial counts, so that runs
// of one level do not wait on their own increments.
void CountBytes(const uint8_t* in, size_t count, uint32_t (*partial)[256]) {
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    ++partial[0][in[i]];
    ++partial[1][in[i + 1]];
    ++partial[2][in[i + 2]];
    ++partial[3][in[i + 3]];
  }
  for (; i < count; ++i) ++partial[0][in[i]];
}

// The samples of every row (`samplesPerRow` from its start) into the histogram; the layout in
// locals, since the counts could otherwise alias it for the compiler.
void CountRows(RoutineFrame& frame, size_t samplesPerRow, uint32_t* histogram) {
  const int height = frame.layout().height;
  const size_t stride = frame.layout().stride;
  uint32_t partial[4][256] = {};
  const uint8_t* in = frame.sourcePixels();
  for (int row = 0; row < height; ++row, in += stride) CountBytes(in, samplesPerRow, partial);
  for (int v = 0; v < 256; ++v) histogram[v] += partial[0][v] + partial[1][v] + partial[2][v] + partial[3][v];
}

void CountRgb(RoutineFrame& frame, uint32_t* histogram) { CountRows(frame, 3 * size_t(frame.layout().width), histogram); }

void CountGrey(RoutineFrame& frame, uint32_t* histogram) { CountRows(frame, size_t(frame.layout().width), histogram); }

// Counts the blue, green and red components of each pixel's palette entry; 4-bit rows hold
// two pixels a byte, high nibble first, and an odd width leaves the last low nibble out.
// Abort test before every row, no progress. False once an abort is reported.
bool CountPaletteComponents(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red,
                            uint32_t* histogram) {
  const DibLayout& layout = frame.layout();
  const bool nibbles = layout.bitCount == 4;
  for (int row = 0; row < layout.height; ++row) {
    if (frame.AskAbort()) return false;
    const uint8_t* in = frame.sourcePixels() + size_t(row) * layout.stride;
    for (int x = 0; x < layout.width; ++x) {
      const uint8_t index = !nibbles ? in[x] : (x % 2 == 0 ? in[x / 2] >> 4 : in[x / 2] & 15);
      ++histogram[blue[index]];
      ++histogram[green[index]];
      ++histogram[red[index]];
    }
  }
  return true;
}

// table[i] = C x (255 / (N + 1)) + 0.5 in double precision, truncated, with C the count of
// samples below level i: level 0 always goes to 0.
void BuildEqualizeTable(const uint32_t* histogram, uint64_t samples, uint8_t* table) {
  const double scale = 255.0 / static_cast<double>(samples + 1);
  uint64_t below = 0;
  for (int i = 0; i < 256; ++i) {
    table[i] = static_cast<uint8_t>(static_cast<int>(static_cast<double>(below) * scale + 0.5));
    below += histogram[i];
  }
}

}  // namespace

HGLOBAL ApplyCurve(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const CurveParams*>(record);
  if (params.channel < 0 || params.channel > 3) return nullptr;

  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.DiscardAbortQuery();
  MapSelectedChannels(frame, params.channel, params.curve, AllChannelRows::kPixelsOnly);
  return frame.Finish();
}

HGLOBAL Equalize(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kToneKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const DibKind kind = frame.kind();
  const bool palette = kind == kDibPalette8 || kind == kDibPalette4;
  uint32_t* histogram = frame.AllocateTable<uint32_t>(256);
  uint8_t* levels = frame.AllocateTable<uint8_t>(256);
  uint8_t* blue = palette ? frame.AllocateTable<uint8_t>(256) : nullptr;
  uint8_t* green = palette ? frame.AllocateTable<uint8_t>(256) : nullptr;
  uint8_t* red = palette ? frame.AllocateTable<uint8_t>(256) : nullptr;
  if (!histogram || !levels || (palette && (!blue || !green || !red))) return nullptr;
  const DibLayout& layout = frame.layout();
  const uint64_t pixels = uint64_t(layout.width) * uint64_t(layout.height);
  const uint64_t samples = kind == kDibGreyRamp ? pixels : 3 * pixels;

  frame.CopyHeaderBySizeField();
  if (palette) {
    // Pixel indices reach 255 at most, so entries past the 256th are never looked up.
    const uint8_t* entry = frame.source() + kDibHeaderSize;
    const uint32_t count = std::min<uint32_t>(layout.colorCount, 256);
    for (uint32_t i = 0; i < count; ++i, entry += 4) {
      blue[i] = entry[0];
      green[i] = entry[1];
      red[i] = entry[2];
    }
  }
  frame.DiscardAbortQuery();

  switch (kind) {
    case kDibRgb24:
      CountRgb(frame, histogram);
      BuildEqualizeTable(histogram, samples, levels);
      MapRgbRows(frame, levels, levels, levels);
      break;
    case kDibGreyRamp:
      frame.CopyPalette();
      CountGrey(frame, histogram);
      BuildEqualizeTable(histogram, samples, levels);
      MapGreyRows(frame, levels);
      break;
    default:
      if (!CountPaletteComponents(frame, blue, green, red, histogram)) break;
      BuildEqualizeTable(histogram, samples, levels);
      MapPaletteEntries(frame, levels, levels, levels, FourthByte::kCopy);
      CopyPixelRows(frame, 1, RowCopy::kSkip8BitPadding);
      break;
  }
  return frame.Finish();
}

HGLOBAL Invert(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kToneKinds | DibKindBit(kDibBilevel));
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.DiscardAbortQuery();
  frame.CopyHeaderBySizeField();
  uint8_t complement[256];
  for (int i = 0; i < 256; ++i) complement[i] = static_cast<uint8_t>(255 - i);
  switch (frame.kind()) {
    case kDibRgb24:
      ComplementStrideRows(frame);  // zero padding becomes 255
      break;
    case kDibBilevel: {
      // The two palette entries, 8 bytes, whatever the colour count says: entries beyond
      // them stay 0, and bytes copied past a shorter palette are overwritten by the rows.
      const size_t bytes = std::min<size_t>(8, frame.layout().blockSize - kDibHeaderSize);
      std::copy_n(frame.source() + kDibHeaderSize, bytes, frame.result() + kDibHeaderSize);
      ComplementStrideRows(frame);
      break;
    }
    case kDibGreyRamp:
      frame.CopyPalette();
      ComplementStrideRows(frame);
      break;
    default:
      MapPaletteEntries(frame, complement, complement, complement, FourthByte::kCopy);
      CopyPixelRows(frame, 1);
      break;
  }
  return frame.Finish();
}
