// DIB blocks built pixel by pixel for tests, and readers for the results.
#ifndef FXUI_TESTS_TEST_IMAGES_H
#define FXUI_TESTS_TEST_IMAGES_H

#include <cstdint>
#include <functional>
#include <vector>

#include <windows.h>

struct Bgr {
  uint8_t b, g, r;
  bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};

// Owns a DIB handle and frees it with GlobalFree.
class ScopedDib {
 public:
  explicit ScopedDib(HGLOBAL dib = nullptr) : dib_(dib) {}
  ~ScopedDib() { if (dib_) GlobalFree(dib_); }
  ScopedDib(const ScopedDib&) = delete;
  ScopedDib& operator=(const ScopedDib&) = delete;
  HGLOBAL get() const { return dib_; }
  explicit operator bool() const { return dib_ != nullptr; }
 private:
  HGLOBAL dib_;
};

// Pixel functions take the column and the stored row (0 = bottom row).
HGLOBAL MakeRgbDib(int width, int height, const std::function<Bgr(int x, int row)>& pixel);
HGLOBAL MakeGreyDib(int width, int height, const std::function<uint8_t(int x, int row)>& level);
// An 8-, 4- or 1-bit image with the given palette (biClrUsed = palette.size()).
HGLOBAL MakePaletteDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& palette,
                       const std::function<uint8_t(int x, int row)>& index);

// Readers of a DIB block (each locks and unlocks).
Bgr RgbAt(HGLOBAL dib, int x, int row);
uint8_t ByteAt(HGLOBAL dib, int x, int row);   // 8-bit pixel
uint8_t IndexAt(HGLOBAL dib, int x, int row);  // 8-, 4- or 1-bit palette index
RGBQUAD PaletteAt(HGLOBAL dib, int index);
std::vector<uint8_t> BlockBytes(HGLOBAL dib);
std::vector<uint8_t> PixelBytes(HGLOBAL dib);  // everything after header and palette

// A HostImage block of width x height whose entries hold these image and mask DIBs (owned by
// the record from now on: free it with FreeHostImage), the current entry `current`.
struct EntryDibs {
  HGLOBAL image;
  HGLOBAL mask;
};
HGLOBAL MakeHostImage(int width, int height, const std::vector<EntryDibs>& entries, int current);
// Frees the record and the DIBs of its entries in use.
void FreeHostImage(HGLOBAL hostImage);

#endif
