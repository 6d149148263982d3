#include "image/dib.h"

namespace {

// Bytes of pixels in one row, before padding.
int64_t RowPixelBytes(int64_t width, int bitCount) {
  switch (bitCount) {
    case 24: return 3 * width;
    case 8: return width;
    case 4: return (width + 1) / 2;
    case 1: return (width + 7) / 8;
    default: return -1;
  }
}

int64_t RoundUpTo4(int64_t bytes) { return (bytes + 3) & ~int64_t{3}; }

// Upper bound of a DIB block: sizes that fit a signed 32-bit integer, as on the 32-bit target.
constexpr int64_t kMaxBlockSize = 0x7FFFFFFF;

}  // namespace

int DibRowStride(int width, int bitCount) {
  const int64_t bytes = RowPixelBytes(width, bitCount);
  if (bytes < 0) return 0;
  const int64_t stride = RoundUpTo4(bytes);
  return stride > kMaxBlockSize ? 0 : static_cast<int>(stride);
}

bool ReadDibLayout(const void* bits, size_t available, DibLayout* layout) {
  if (!bits || available < kDibHeaderSize) return false;
  const BITMAPINFOHEADER* header = DibHeader(bits);
  const int bitCount = header->biBitCount;
  const int64_t pixelBytes = RowPixelBytes(header->biWidth, bitCount);
  if (pixelBytes < 0 || header->biWidth < 1 || header->biHeight < 1) return false;
  const int64_t stride = RoundUpTo4(pixelBytes);
  const int64_t pixelOffset = kDibHeaderSize + int64_t{kPaletteEntrySize} * header->biClrUsed;
  if (stride > kMaxBlockSize / header->biHeight) return false;
  const int64_t blockSize = pixelOffset + stride * header->biHeight;
  if (blockSize > kMaxBlockSize || static_cast<uint64_t>(blockSize) > available) return false;
  *layout = DibLayout{header->biWidth,
                      header->biHeight,
                      bitCount,
                      header->biClrUsed,
                      static_cast<uint32_t>(stride),
                      static_cast<size_t>(pixelOffset),
                      static_cast<size_t>(blockSize)};
  return true;
}

bool IsGreyRampBits(const void* bits, size_t available) {
  if (available < kDibHeaderSize + kGreyRampColors * kPaletteEntrySize) return false;
  const BITMAPINFOHEADER* header = DibHeader(bits);
  if (header->biBitCount != 8 || header->biClrUsed != kGreyRampColors) return false;
  const uint8_t* entry = DibPalette(bits);
  for (uint32_t i = 0; i < kGreyRampColors; ++i, entry += kPaletteEntrySize) {
    if (entry[0] != i || entry[1] != i || entry[2] != i) return false;
  }
  return true;
}

DibKind ClassifyDibBits(const void* bits, size_t available) {
  if (available < kDibHeaderSize) return kDibNone;
  switch (DibHeader(bits)->biBitCount) {
    case 24: return kDibRgb24;
    case 8: return IsGreyRampBits(bits, available) ? kDibGreyRamp : kDibPalette8;
    case 4: return kDibPalette4;
    case 1: return kDibBilevel;
    default: return kDibNone;
  }
}

namespace {

// Locks a DIB block for reading; a block too small for a header counts as a failed lock.
const void* LockDib(HGLOBAL dib, size_t* available) {
  if (!dib) return nullptr;
  const void* bits = GlobalLock(dib);
  if (!bits) return nullptr;
  *available = GlobalSize(dib);
  if (*available >= kDibHeaderSize) return bits;
  GlobalUnlock(dib);
  return nullptr;
}

}  // namespace

int GetDibSize(HGLOBAL dib, int* width, int* height) {
  size_t available = 0;
  const void* bits = LockDib(dib, &available);
  if (!bits) return 0;
  if (width) *width = DibHeader(bits)->biWidth;
  if (height) *height = DibHeader(bits)->biHeight;
  GlobalUnlock(dib);
  return 1;
}

int IsGreyRampDib(HGLOBAL dib) { return ClassifyDib(dib) == kDibGreyRamp ? 1 : 0; }

int ClassifyDib(HGLOBAL dib) {
  size_t available = 0;
  const void* bits = LockDib(dib, &available);
  if (!bits) return kDibNone;
  const DibKind kind = ClassifyDibBits(bits, available);
  GlobalUnlock(dib);
  return kind;
}
