#include "preview/premultiply.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "image/dib.h"

namespace {

// The two images locked, when they fit together: same size, image 24-bit or 8-bit, mask 8-bit.
class MaskedPair {
 public:
  MaskedPair(HGLOBAL image, HGLOBAL mask) : image_(image), mask_(mask) {
    imageBits_ = static_cast<uint8_t*>(GlobalLock(image));
    maskBits_ = static_cast<const uint8_t*>(GlobalLock(mask));
    fits_ = imageBits_ && maskBits_ && ReadDibLayout(imageBits_, GlobalSize(image), &imageLayout_) &&
            ReadDibLayout(maskBits_, GlobalSize(mask), &maskLayout_) &&
            imageLayout_.width == maskLayout_.width && imageLayout_.height == maskLayout_.height &&
            (imageLayout_.bitCount == 24 || imageLayout_.bitCount == 8) && maskLayout_.bitCount == 8;
  }
  ~MaskedPair() {
    if (imageBits_) GlobalUnlock(image_);
    if (maskBits_) GlobalUnlock(mask_);
  }
  bool fits() const { return fits_; }

  // Calls map(colourByte, maskByte) for every colour byte of every pixel.
  template <typename Map>
  void ForEachColourByte(Map map) {
    const int channels = imageLayout_.bitCount == 24 ? 3 : 1;
    uint8_t* imageRow = imageBits_ + imageLayout_.pixelOffset;
    const uint8_t* maskRow = maskBits_ + maskLayout_.pixelOffset;
    for (int y = 0; y < imageLayout_.height; ++y) {
      uint8_t* v = imageRow;
      for (int x = 0; x < imageLayout_.width; ++x, v += channels) {
        for (int c = 0; c < channels; ++c) map(v[c], maskRow[x]);
      }
      imageRow += imageLayout_.stride;
      maskRow += maskLayout_.stride;
    }
  }

 private:
  HGLOBAL image_, mask_;
  uint8_t* imageBits_ = nullptr;
  const uint8_t* maskBits_ = nullptr;
  DibLayout imageLayout_{}, maskLayout_{};
  bool fits_ = false;
};

}  // namespace

HGLOBAL PremultiplyByMask(HGLOBAL image, HGLOBAL mask) {
  if (!image || !mask) return nullptr;
  const size_t size = GlobalSize(image);
  const void* from = GlobalLock(image);
  if (!from) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  void* to = copy ? GlobalLock(copy) : nullptr;
  if (to) {
    std::memcpy(to, from, size);
    GlobalUnlock(copy);
  }
  GlobalUnlock(image);
  if (!to) {
    if (copy) GlobalFree(copy);
    return nullptr;
  }
  bool fits;
  {
    MaskedPair pair(copy, mask);
    fits = pair.fits();
    if (fits) pair.ForEachColourByte([](uint8_t& v, uint8_t a) { v = static_cast<uint8_t>(v * a / 255); });
  }
  if (fits) return copy;
  GlobalFree(copy);
  return nullptr;
}

int UnpremultiplyByMask(HGLOBAL image, HGLOBAL mask) {
  if (!image || !mask) return 0;
  MaskedPair pair(image, mask);
  if (!pair.fits()) return 0;
  pair.ForEachColourByte([](uint8_t& v, uint8_t a) {
    if (a) v = static_cast<uint8_t>(std::min(v * 255 / a, 255));
  });
  return 1;
}
