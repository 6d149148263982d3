// Effect 33, auto enhance: levels stretched between a black and a white point through a
// brightening power curve, then (colour only) the channels below each pixel's brightest pushed
// further down, then a 3 x 3 Laplacian sharpening; all three grow with p.
//
// This routine stands outside the routine frame: it copies the whole source block and works
// on the copy in place, accepts any 8-bit image (the grey-ramp test is not made) and 24-bit
// images, leaves the cursor alone, never asks the abort test and reports no progress.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/distort/distort.h"
#include "engine/working_tables.h"
#include "image/dib.h"

namespace {

constexpr int kSharpenBias = 2040;        // 8 x 255: the table is indexed by L + 2040
constexpr size_t kSharpenEntries = 4100;  // 4080 entries and a zero tail, 16400 bytes
constexpr size_t kRowBufferSlack = 10;    // the row buffer is stride + 10 bytes

struct Strength {
  int32_t k;  // p / 5: the white point is 255 - k; also the strength of spread and sharpening
  int32_t b;  // p / 25: the black point
  int32_t p;
};

// Level table: 0 up to the black point, 255 from the white point, the power curve between.
// The intensities the dialog sets (1..100) keep every value below 255.5; for others a value
// of 255 or more is stored as 255.
void BuildLevelTable(const Strength& s, uint8_t* level) {
  const double g = (1.0 - s.b * 0.06) * double(1000 - int64_t{s.p}) * 0.001;
  for (int i = 0; i < 256; ++i) {
    if (i <= s.b) {
      level[i] = 0;
    } else if (i >= 255 - s.k) {
      level[i] = 255;
    } else {
      const double value = std::pow(double(i) / (255 - s.k), g) * 255.0 + 0.5;
      level[i] = static_cast<uint8_t>(value < 255.0 ? static_cast<int>(value) : 255);
    }
  }
}

// Spread table, a byte per distance: i x k / 100 rounded half up.
void BuildSpreadTable(const Strength& s, uint8_t* spread) {
  for (int i = 0; i < 256; ++i) spread[i] = static_cast<uint8_t>((50 + int64_t{s.k} * i) / 100);
}

// First pass: every level through the level table; in colour, when k is not 0, the channels
// below the pixel's brightest are pushed down by the spread of their distance to it.
void FirstPass(uint8_t* pixels, const DibLayout& layout, const Strength& s) {
  uint8_t level[256], spread[256];
  BuildLevelTable(s, level);
  BuildSpreadTable(s, spread);
  for (int32_t y = 0; y < layout.height; ++y) {
    uint8_t* p = pixels + size_t(y) * layout.stride;
    if (layout.bitCount == 8) {
      for (int32_t x = 0; x < layout.width; ++x) p[x] = level[p[x]];
      continue;
    }
    for (int32_t x = 0; x < layout.width; ++x, p += 3) {
      for (int c = 0; c < 3; ++c) p[c] = level[p[c]];
      if (s.k == 0) continue;
      const int m = std::max({p[0], p[1], p[2]});
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::max(p[c] - spread[m - p[c]], 0));
    }
  }
}

// Second pass, in place, rows from stored row 0 up, each byte of a pixel on its own. The
// eight neighbours come from a row buffer (the row below, first-pass values), the value of
// the left neighbour kept from the previous pixel, and the row above and the pixels to the
// right, not yet written.
//
// The in-place bookkeeping is reproduced exactly, with its two departures from a pure 3 x 3
// neighbourhood of first-pass values: after each pixel the buffer takes the first-pass value
// of the column before it, and after column 0 that is column 0 itself, so at column 1 of every
// row above row 0 the lower-left neighbour is the current row's column 0; and on the top
// stored row, whose row above is itself, the upper-left neighbour is already sharpened.
template <int kPixelBytes>
void SharpenPass(uint8_t* pixels, const DibLayout& layout, const int32_t* sharpen, uint8_t* below) {
  const int32_t w = layout.width, h = layout.height;
  const size_t rowBytes = size_t(w) * kPixelBytes;
  std::memcpy(below, pixels, rowBytes);  // row 0's row below is row 0 itself
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = pixels + size_t(y) * layout.stride;
    const uint8_t* above = y == h - 1 ? row : row + layout.stride;
    uint8_t left[kPixelBytes];  // first-pass value of the column before
    for (int32_t x = 0; x < w; ++x) {
      const size_t l = size_t(x == 0 ? 0 : x - 1) * kPixelBytes;
      const size_t m = size_t(x) * kPixelBytes;
      const size_t r = size_t(x == w - 1 ? x : x + 1) * kPixelBytes;
      for (int c = 0; c < kPixelBytes; ++c) {
        const int centre = row[m + c];
        const int leftValue = x == 0 ? centre : left[c];
        const int sum = leftValue + row[r + c] + below[l + c] + below[m + c] + below[r + c] + above[l + c] +
                        above[m + c] + above[r + c];
        const int laplacian = 8 * centre - sum;
        row[m + c] = static_cast<uint8_t>(std::clamp(centre + sharpen[laplacian + kSharpenBias], 0, 255));
        below[l + c] = static_cast<uint8_t>(leftValue);
        left[c] = static_cast<uint8_t>(centre);
      }
    }
    std::memcpy(below + size_t(w - 1) * kPixelBytes, left, kPixelBytes);
  }
}

// A zero-filled copy of the whole block, with the source's global size; null on failure.
HGLOBAL CopyWholeBlock(HGLOBAL dib) {
  const void* source = GlobalLock(dib);
  if (!source) return nullptr;
  const size_t size = GlobalSize(dib);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  void* bits = copy ? GlobalLock(copy) : nullptr;
  if (bits) {
    std::memcpy(bits, source, size);
    GlobalUnlock(copy);
  } else if (copy) {
    GlobalFree(copy);
    copy = nullptr;
  }
  GlobalUnlock(dib);
  return copy;
}

// The layout of an 8-bit or 24-bit image in a block of `size` bytes; the pixels follow the
// palette of an 8-bit image, the 40-byte header of a 24-bit one. The stride is kept at full
// width (never cut to 16 bits), so wide images work too. False for other bit counts and for
// a block too small for what its header says.
bool ReadEnhanceLayout(const uint8_t* bits, size_t size, DibLayout* layout) {
  if (size < kDibHeaderSize) return false;
  const BITMAPINFOHEADER* header = DibHeader(bits);
  if (header->biBitCount != 8 && header->biBitCount != 24) return false;
  if (header->biWidth < 1 || header->biHeight < 1) return false;
  const int stride = DibRowStride(header->biWidth, header->biBitCount);
  const uint64_t palette = header->biBitCount == 8 ? uint64_t{kPaletteEntrySize} * header->biClrUsed : 0;
  const uint64_t needed = kDibHeaderSize + palette + uint64_t(stride) * uint64_t(header->biHeight);
  if (stride == 0 || needed > size) return false;
  layout->width = header->biWidth;
  layout->height = header->biHeight;
  layout->bitCount = header->biBitCount;
  layout->colorCount = header->biClrUsed;
  layout->stride = uint32_t(stride);
  layout->pixelOffset = size_t(kDibHeaderSize + palette);
  layout->blockSize = size_t(needed);
  return true;
}

}  // namespace

HGLOBAL AutoEnhance(HGLOBAL dib, int32_t p) {
  if (!dib) return nullptr;
  HGLOBAL copy = CopyWholeBlock(dib);
  if (!copy) return nullptr;
  auto* bits = static_cast<uint8_t*>(GlobalLock(copy));
  DibLayout layout{};
  if (!bits || !ReadEnhanceLayout(bits, GlobalSize(copy), &layout)) {
    if (bits) GlobalUnlock(copy);
    GlobalFree(copy);
    return nullptr;
  }
  uint8_t* pixels = bits + layout.pixelOffset;
  const Strength strength{p / 5, p / 25, p};
  FirstPass(pixels, layout, strength);

  if (strength.k != 0 && layout.width > 2 && layout.height > 2) {
    // If the sharpening table or the row buffer cannot be made, the copy is freed and the
    // routine gives null, as when the copy itself cannot be made.
    WorkingTables tables;
    int32_t* sharpen = tables.Allocate<int32_t>(kSharpenEntries);
    uint8_t* below = tables.Allocate<uint8_t>(layout.stride + kRowBufferSlack);
    if (!sharpen || !below) {
      GlobalUnlock(copy);
      GlobalFree(copy);
      return nullptr;
    }
    for (int j = 0; j < 2 * kSharpenBias; ++j) {
      sharpen[j] = static_cast<int32_t>(int64_t{strength.k} * (j - kSharpenBias) / 800);
    }
    if (layout.bitCount == 8) {
      SharpenPass<1>(pixels, layout, sharpen, below);
    } else {
      SharpenPass<3>(pixels, layout, sharpen, below);
    }
  }
  GlobalUnlock(copy);
  return copy;
}
