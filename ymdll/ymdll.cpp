#include "ymdll/ymdll.h"

#include <cstring>

#include "fxui.h"
#include "image/dib.h"

namespace {

struct Colour {
  uint8_t b, g, r;
};

Colour FromColorRef(uint32_t value) {
  return Colour{uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

Colour BackgroundAt(const YmBackground& bg, int x, int topRow) {
  if (bg.squareSize <= 0) return FromColorRef(bg.color1);
  const bool second = ((x / bg.squareSize) + (topRow / bg.squareSize)) % 2 != 0;
  return FromColorRef(second ? bg.color2 : bg.color1);
}

uint8_t Blend(uint8_t fore, uint8_t back, int alpha) {
  return static_cast<uint8_t>((fore * alpha + back * (255 - alpha) + 127) / 255);
}

// A locked entry DIB: the colour of a pixel (24-bit, or 8-bit through its palette) and an
// 8-bit mask value.
struct LockedDib {
  explicit LockedDib(HGLOBAL handle) : handle(handle) {
    bits = handle ? static_cast<const uint8_t*>(GlobalLock(handle)) : nullptr;
    ok = bits && ReadDibLayout(bits, GlobalSize(handle), &layout) &&
         (layout.bitCount == 24 || (layout.bitCount == 8));
  }
  ~LockedDib() {
    if (bits) GlobalUnlock(handle);
  }
  const uint8_t* Pixel(int x, int row) const {
    return bits + layout.pixelOffset + size_t(row) * layout.stride + size_t(x) * (layout.bitCount / 8);
  }
  Colour ColourAt(int x, int row) const {
    const uint8_t* p = Pixel(x, row);
    if (layout.bitCount == 24) return Colour{p[0], p[1], p[2]};
    if (*p >= layout.colorCount) return Colour{0, 0, 0};
    const uint8_t* entry = bits + kDibHeaderSize + 4 * *p;
    return Colour{entry[0], entry[1], entry[2]};
  }
  HGLOBAL handle;
  const uint8_t* bits;
  DibLayout layout{};
  bool ok;
};

HGLOBAL NewRgbDib(int width, int height, uint8_t** bits, uint32_t* stride) {
  *stride = static_cast<uint32_t>(DibRowStride(width, 24));
  const uint64_t size = kDibHeaderSize + uint64_t{*stride} * height;
  if (*stride == 0 || size > 0x7FFFFFFF) return nullptr;
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<size_t>(size));
  *bits = dib ? static_cast<uint8_t*>(GlobalLock(dib)) : nullptr;
  if (!*bits) {
    if (dib) GlobalFree(dib);
    return nullptr;
  }
  BITMAPINFOHEADER header{};
  header.biSize = kDibHeaderSize;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = *stride * static_cast<uint32_t>(height);
  std::memcpy(*bits, &header, sizeof header);
  return dib;
}

HGLOBAL Compose(const HostImage& record, const ImageEntry& entry, const YmBackground& bg) {
  const int width = record.width, height = record.height;
  if (width < 1 || height < 1) return nullptr;
  LockedDib image(entry.image);
  LockedDib mask(entry.mask);
  if (!image.ok) return nullptr;
  const bool masked = entry.mask != nullptr;
  if (masked && (!mask.ok || mask.layout.bitCount != 8 || mask.layout.width != image.layout.width ||
                 mask.layout.height != image.layout.height)) {
    return nullptr;
  }
  uint8_t* bits = nullptr;
  uint32_t stride = 0;
  HGLOBAL dib = NewRgbDib(width, height, &bits, &stride);
  if (!dib) return nullptr;
  const int w = image.layout.width, h = image.layout.height;
  for (int row = 0; row < height; ++row) {
    const int topRow = height - 1 - row;      // picture row counted from the top
    const int entryTop = topRow - entry.y;    // entry row counted from its top
    const int entryRow = h - 1 - entryTop;    // entry row in stored order
    uint8_t* out = bits + kDibHeaderSize + size_t(row) * stride;
    for (int x = 0; x < width; ++x, out += 3) {
      Colour colour = BackgroundAt(bg, x, topRow);
      const int ex = x - entry.x;
      if (ex >= 0 && ex < w && entryTop >= 0 && entryTop < h) {
        const Colour fore = image.ColourAt(ex, entryRow);
        const int alpha = masked ? *mask.Pixel(ex, entryRow) : 255;
        colour = Colour{Blend(fore.b, colour.b, alpha), Blend(fore.g, colour.g, alpha), Blend(fore.r, colour.r, alpha)};
      }
      out[0] = colour.b;
      out[1] = colour.g;
      out[2] = colour.r;
    }
  }
  GlobalUnlock(dib);
  return dib;
}

}  // namespace

HGLOBAL WINAPI YmImageCropToDib(HGLOBAL hostImage, int entryIndex, int reserved, const YmBackground* background) {
  (void)reserved;
  if (!hostImage) return nullptr;
  const auto* record = static_cast<const HostImage*>(GlobalLock(hostImage));
  if (!record) return nullptr;
  HGLOBAL result = nullptr;
  const int index = entryIndex < 0 ? record->currentEntry : entryIndex;
  if (GlobalSize(hostImage) >= sizeof(HostImage) && index >= 0 && index < record->entryCount &&
      index < FXUI_MAX_ENTRIES) {
    const YmBackground none = {0, 0, 0};
    result = Compose(*record, record->entries[index], background ? *background : none);
  }
  GlobalUnlock(hostImage);
  return result;
}

int WINAPI YmImageDelete(HGLOBAL hostImage) {
  if (!hostImage) return 0;
  auto* record = static_cast<HostImage*>(GlobalLock(hostImage));
  if (!record) return 0;
  if (GlobalSize(hostImage) >= sizeof(HostImage)) {
    for (int i = 0; i < record->entryCount && i < FXUI_MAX_ENTRIES; ++i) {
      if (record->entries[i].image) GlobalFree(record->entries[i].image);
      if (record->entries[i].mask) GlobalFree(record->entries[i].mask);
    }
  }
  GlobalUnlock(hostImage);
  GlobalFree(hostImage);
  return 1;
}
