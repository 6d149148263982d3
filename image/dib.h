// DIB images: a 40-byte BITMAPINFOHEADER, biClrUsed palette entries of 4 bytes (blue, green,
// red, reserved), then the rows bottom row first, each padded to a multiple of 4 bytes, all
// in one movable global memory block.
#ifndef FXUI_IMAGE_DIB_H
#define FXUI_IMAGE_DIB_H

#include <cstddef>
#include <cstdint>

#include <windows.h>

constexpr uint32_t kDibHeaderSize = 40;
constexpr uint32_t kGreyRampColors = 256;
constexpr uint32_t kPaletteEntrySize = 4;

// Classification of a DIB.
enum DibKind : int {
  kDibNone = 0,     // null handle, or a bit count other than 1, 4, 8, 24
  kDibGreyRamp = 1, // 8-bit with the 256-entry palette i = (i, i, i)
  kDibRgb24 = 2,
  kDibPalette8 = 3, // 8-bit that is not a grey ramp
  kDibPalette4 = 4,
  kDibBilevel = 5,
};

// Sets of kinds, as bit masks, for routines that accept several.
constexpr unsigned DibKindBit(DibKind kind) { return 1u << kind; }

// What the library reads of a locked DIB: sizes from the header, the palette length from
// biClrUsed (never from the bit count), and the derived row layout.
struct DibLayout {
  int32_t width;
  int32_t height;
  int bitCount;
  uint32_t colorCount;    // biClrUsed
  uint32_t stride;        // bytes per stored row
  size_t pixelOffset;     // 40 + 4 x biClrUsed: header plus palette
  size_t blockSize;       // pixelOffset + stride x height
};

// Row stride for a width and bit count: the pixel bytes rounded up to a multiple of 4.
// Bit counts other than 1, 4, 8 and 24, and strides beyond 2^31 - 1 bytes, give 0.
int DibRowStride(int width, int bitCount);

// Reads the layout of the DIB at `bits`, a block of `available` bytes. Fails (false) for a
// bit count other than 1, 4, 8 or 24, a width or height below 1, a size that does not fit
// in 32 bits, or a block too small for what the header says.
bool ReadDibLayout(const void* bits, size_t available, DibLayout* layout);

// Grey-ramp test on a locked block of `available` bytes: 8 bits, biClrUsed 256 and palette
// entry i = (i, i, i); the reserved byte is not looked at.
bool IsGreyRampBits(const void* bits, size_t available);
// Classification of a locked block of `available` bytes.
DibKind ClassifyDibBits(const void* bits, size_t available);

// Handle-level helpers; each locks and unlocks internally.
int GetDibSize(HGLOBAL dib, int* width, int* height);
int IsGreyRampDib(HGLOBAL dib);
int ClassifyDib(HGLOBAL dib);

inline const BITMAPINFOHEADER* DibHeader(const void* bits) {
  return static_cast<const BITMAPINFOHEADER*>(bits);
}
inline const uint8_t* DibPalette(const void* bits) {
  return static_cast<const uint8_t*>(bits) + kDibHeaderSize;
}

#endif
