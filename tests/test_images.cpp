#include "test_images.h"

#include <cstring>

#include "fxui.h"
#include "image/dib.h"

namespace {

HGLOBAL MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& palette,
                const std::function<void(uint8_t* row, int y)>& fillRow) {
  const int stride = DibRowStride(width, bitCount);
  const size_t offset = kDibHeaderSize + 4 * palette.size();
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, offset + size_t(stride) * height);
  auto* bits = static_cast<uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER header{};
  header.biSize = kDibHeaderSize;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biSizeImage = static_cast<DWORD>(stride * height);
  header.biClrUsed = static_cast<DWORD>(palette.size());
  std::memcpy(bits, &header, sizeof header);
  if (!palette.empty()) std::memcpy(bits + kDibHeaderSize, palette.data(), 4 * palette.size());
  for (int y = 0; y < height; ++y) fillRow(bits + offset + size_t(y) * stride, y);
  GlobalUnlock(dib);
  return dib;
}

std::vector<RGBQUAD> GreyRamp() {
  std::vector<RGBQUAD> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return ramp;
}

struct Locked {
  explicit Locked(HGLOBAL h) : handle(h), bits(static_cast<const uint8_t*>(GlobalLock(h))) {
    ReadDibLayout(bits, GlobalSize(h), &layout);
  }
  ~Locked() { GlobalUnlock(handle); }
  const uint8_t* Row(int row) const { return bits + layout.pixelOffset + size_t(row) * layout.stride; }
  HGLOBAL handle;
  const uint8_t* bits;
  DibLayout layout{};
};

}  // namespace

HGLOBAL MakeRgbDib(int width, int height, const std::function<Bgr(int, int)>& pixel) {
  return MakeDib(width, height, 24, {}, [&](uint8_t* row, int y) {
    for (int x = 0; x < width; ++x) {
      const Bgr p = pixel(x, y);
      row[3 * x] = p.b;
      row[3 * x + 1] = p.g;
      row[3 * x + 2] = p.r;
    }
  });
}

HGLOBAL MakeGreyDib(int width, int height, const std::function<uint8_t(int, int)>& level) {
  return MakeDib(width, height, 8, GreyRamp(), [&](uint8_t* row, int y) {
    for (int x = 0; x < width; ++x) row[x] = level(x, y);
  });
}

HGLOBAL MakePaletteDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& palette,
                       const std::function<uint8_t(int, int)>& index) {
  return MakeDib(width, height, bitCount, palette, [&](uint8_t* row, int y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t i = index(x, y);
      if (bitCount == 8) row[x] = i;
      if (bitCount == 4) row[x / 2] |= (x % 2 ? i & 15 : (i & 15) << 4);
      if (bitCount == 1) row[x / 8] |= (i & 1) << (7 - x % 8);
    }
  });
}

Bgr RgbAt(HGLOBAL dib, int x, int row) {
  Locked l(dib);
  const uint8_t* p = l.Row(row) + 3 * x;
  return Bgr{p[0], p[1], p[2]};
}

uint8_t ByteAt(HGLOBAL dib, int x, int row) {
  Locked l(dib);
  return l.Row(row)[x];
}

uint8_t IndexAt(HGLOBAL dib, int x, int row) {
  Locked l(dib);
  const uint8_t* r = l.Row(row);
  switch (l.layout.bitCount) {
    case 4: return x % 2 ? r[x / 2] & 15 : r[x / 2] >> 4;
    case 1: return (r[x / 8] >> (7 - x % 8)) & 1;
    default: return r[x];
  }
}

RGBQUAD PaletteAt(HGLOBAL dib, int index) {
  Locked l(dib);
  RGBQUAD q;
  std::memcpy(&q, l.bits + kDibHeaderSize + 4 * index, 4);
  return q;
}

std::vector<uint8_t> BlockBytes(HGLOBAL dib) {
  Locked l(dib);
  return std::vector<uint8_t>(l.bits, l.bits + GlobalSize(dib));
}

std::vector<uint8_t> PixelBytes(HGLOBAL dib) {
  Locked l(dib);
  return std::vector<uint8_t>(l.bits + l.layout.pixelOffset, l.bits + l.layout.blockSize);
}

HGLOBAL MakeHostImage(int width, int height, const std::vector<EntryDibs>& entries, int current) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(HostImage));
  auto* record = static_cast<HostImage*>(GlobalLock(block));
  record->width = width;
  record->height = height;
  record->imageType = 24;
  record->entryCount = static_cast<int32_t>(entries.size());
  record->currentEntry = current;
  for (size_t i = 0; i < entries.size(); ++i) {
    record->entries[i].image = entries[i].image;
    record->entries[i].mask = entries[i].mask;
  }
  GlobalUnlock(block);
  return block;
}

void FreeHostImage(HGLOBAL hostImage) {
  auto* record = static_cast<HostImage*>(GlobalLock(hostImage));
  for (int i = 0; i < record->entryCount; ++i) {
    if (record->entries[i].image) GlobalFree(record->entries[i].image);
    if (record->entries[i].mask) GlobalFree(record->entries[i].mask);
  }
  GlobalUnlock(hostImage);
  GlobalFree(hostImage);
}
