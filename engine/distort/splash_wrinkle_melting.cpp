// Effects 35, 37 and 39 and the paired melting of image and mask: pixels moved by amounts drawn
// from the engine generator. The draws are taken in a fixed order (documented at each loop),
// so a run from a given generator state is reproducible.
#include <algorithm>
#include <cstring>

#include "engine/distort/distort.h"
#include "engine/hooks.h"
#include "engine/random.h"
#include "engine/routine_frame.h"
#include "image/dib.h"

namespace {

int PixelBytes(const RoutineFrame& frame) { return frame.kind() == kDibRgb24 ? 3 : 1; }

uint32_t SizeSeed(const DibLayout& layout) {
  return static_cast<uint32_t>(layout.width) * static_cast<uint32_t>(layout.height);
}

// ---- Splash ----------------------------------------------------------------------------------

template <int kPixelBytes>
void SplashRows(RoutineFrame& frame, int m) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width, h = layout.height;
  const int half = m >> 1;
  const uint8_t* source = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  for (int32_t y = 0; y < h; ++y, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    for (int32_t x = 0; x < w; ++x) {
      // Column draw first, then row draw.
      const int32_t sx = std::clamp(x + half - NextRandom() % m, 0, w - 1);
      const int32_t sy = std::clamp(y + half - NextRandom() % m, 0, h - 1);
      std::memcpy(out + x * kPixelBytes, source + sy * layout.stride + sx * kPixelBytes, kPixelBytes);
    }
  }
}

// ---- Wrinkle ---------------------------------------------------------------------------------

// A step of the random walks: +1 for draws (mod 1000) below t, -1 above 1000 - t.
int WalkStep(int t) {
  const int r = NextRandom() % 1000;
  return r < t ? 1 : r > 1000 - t ? -1 : 0;
}

template <int kPixelBytes>
void WrinkleRows(RoutineFrame& frame, const int32_t* columnWalk, int t, const uint8_t* fill) {
  const DibLayout& layout = frame.layout();
  const int32_t w = layout.width, h = layout.height;
  const int64_t lastRow = int64_t{h - 1} * layout.stride;
  const uint8_t* source = frame.sourcePixels();
  uint8_t* out = frame.resultPixels();
  int32_t shift = 0;
  for (int32_t y = 0; y < h; ++y, out += layout.stride) {
    if (!frame.BeginRow(y)) return;
    shift += WalkStep(t);  // one draw per row, before its pixels
    const int64_t rowOffset = int64_t{y} * layout.stride;
    for (int32_t x = 0; x < w; ++x) {
      const int64_t offset = columnWalk[x] + rowOffset;
      const int32_t sx = x + shift;
      const bool outside = sx < 0 || sx > w - 1 || offset < 0 || offset > lastRow;
      std::memcpy(out + x * kPixelBytes, outside ? fill : source + offset + sx * kPixelBytes, kPixelBytes);
    }
  }
}

// ---- Melting ---------------------------------------------------------------------------------

// Level of a pixel: the grey level, or blue + green + red (0..765).
template <int kPixelBytes>
int Level(const uint8_t* p) {
  if constexpr (kPixelBytes == 1) {
    return p[0];
  } else {
    return p[0] + p[1] + p[2];
  }
}

// Level weighed by opacity a: grey (a x level + 127) >> 8; colour 255 - (((765 - sum) x a +
// 127) >> 8), so that a transparent colour pixel counts as the lightest value.
template <int kPixelBytes>
int WeighedLevel(const uint8_t* p, int a) {
  if constexpr (kPixelBytes == 1) {
    return (a * p[0] + 127) >> 8;
  } else {
    return 255 - (((765 - Level<3>(p)) * a + 127) >> 8);
  }
}

template <int kPixelBytes>
void SwapPixels(uint8_t* a, uint8_t* b) {
  for (int i = 0; i < kPixelBytes; ++i) std::swap(a[i], b[i]);
}

// The pixels melted in place, and the mask moved with them in the paired form (null otherwise).
struct MeltTarget {
  uint8_t* pixels;
  ptrdiff_t stride;
  uint8_t* mask;
  ptrdiff_t maskStride;
};

// A drop at (x, y) sinks toward row 0 while the pixel below is at least as light as itself,
// never entering row 0.
template <int kPixelBytes>
void SinkDrop(const MeltTarget& target, int32_t x, int32_t y) {
  uint8_t* p = target.pixels + y * target.stride + x * kPixelBytes;
  if (!target.mask) {
    const int value = Level<kPixelBytes>(p);
    for (; y > 1 && value <= Level<kPixelBytes>(p - target.stride); --y, p -= target.stride) {
      SwapPixels<kPixelBytes>(p, p - target.stride);
    }
    return;
  }
  uint8_t* a = target.mask + y * target.maskStride + x;
  const int value = WeighedLevel<kPixelBytes>(p, *a);  // travels with its pixel and mask byte
  for (; y > 1 && value <= WeighedLevel<kPixelBytes>(p - target.stride, a[-target.maskStride]);
       --y, p -= target.stride, a -= target.maskStride) {
    SwapPixels<kPixelBytes>(p, p - target.stride);
    std::swap(*a, a[-target.maskStride]);
  }
}

// (w x h / 100) x intensity drops. Each asks the abort test, reports progress when its number
// has none of the bits 0x4FF set, then draws its column (mod w) and its row (mod h).
template <int kPixelBytes>
void MeltDrops(RoutineFrame& frame, const MeltTarget& target, int32_t intensity) {
  const int32_t w = frame.layout().width, h = frame.layout().height;
  const int64_t drops = int64_t{w} * h / 100 * intensity;
  frame.DiscardAbortQuery();
  for (int64_t d = 0; d < drops; ++d) {
    if (frame.AskAbort()) return;
    if ((d & 0x4FF) == 0) ReportProgress(static_cast<int>(d * 100 / drops));
    const int32_t x = NextRandom() % w;
    const int32_t y = NextRandom() % h;
    SinkDrop<kPixelBytes>(target, x, y);
  }
}

void MeltDrops(RoutineFrame& frame, const MeltTarget& target, int32_t intensity) {
  if (PixelBytes(frame) == 3) {
    MeltDrops<3>(frame, target, intensity);
  } else {
    MeltDrops<1>(frame, target, intensity);
  }
}

// The mask side of the paired form: the locked source mask and its zero-filled copy. The
// destructor unlocks both and frees a copy that was not handed over.
class MaskCopy {
 public:
  ~MaskCopy() {
    if (copyHandle_) {
      GlobalUnlock(copyHandle_);
      GlobalFree(copyHandle_);
    }
    if (sourceHandle_) GlobalUnlock(sourceHandle_);
  }
  bool Open(HGLOBAL mask) {
    const void* bits = GlobalLock(mask);
    if (!bits) return false;
    sourceHandle_ = mask;
    source_ = static_cast<const uint8_t*>(bits);
    return ReadDibLayout(bits, GlobalSize(mask), &layout_);
  }
  // Allocates the copy and fills it with the whole source block: header, palette and pixels.
  bool Create() {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, layout_.blockSize);
    void* bits = block ? GlobalLock(block) : nullptr;
    if (!bits) {
      if (block) GlobalFree(block);
      return false;
    }
    copyHandle_ = block;
    copy_ = static_cast<uint8_t*>(bits);
    std::memcpy(copy_, source_, layout_.blockSize);
    return true;
  }
  // Unlocks both; returns the copy, or frees it and returns null when `discard` is set.
  HGLOBAL Finish(bool discard) {
    GlobalUnlock(sourceHandle_);
    sourceHandle_ = nullptr;
    GlobalUnlock(copyHandle_);
    HGLOBAL copy = copyHandle_;
    copyHandle_ = nullptr;
    if (discard) {
      GlobalFree(copy);
      copy = nullptr;
    }
    return copy;
  }
  const DibLayout& layout() const { return layout_; }
  uint8_t* copyPixels() { return copy_ + layout_.pixelOffset; }

 private:
  HGLOBAL sourceHandle_ = nullptr;  // locked while non-null
  const uint8_t* source_ = nullptr;
  HGLOBAL copyHandle_ = nullptr;    // locked while non-null
  uint8_t* copy_ = nullptr;
  DibLayout layout_{};
};

}  // namespace

HGLOBAL Splash(HGLOBAL dib, int32_t intensity) {
  const int m = std::clamp(intensity / 2, 1, 50) + 1;
  if (!dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  SeedRandom(SizeSeed(frame.layout()));
  if (PixelBytes(frame) == 3) {
    SplashRows<3>(frame, m);
  } else {
    SplashRows<1>(frame, m);
  }
  return frame.Finish();
}

HGLOBAL Wrinkle(HGLOBAL dib, const void* record) {
  if (!record) return nullptr;
  const auto& params = *static_cast<const WrinkleParams*>(record);
  if (params.intensity < 1 || params.intensity > 100) return nullptr;
  if (!dib) return nullptr;
  const int t = 5 * params.intensity;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const DibLayout& layout = frame.layout();
  // Without its column walk the routine gives null rather than an image of zero pixels.
  int32_t* columnWalk = frame.AllocateTable<int32_t>(layout.width);
  if (!columnWalk) return nullptr;
  // One draw per column, from the generator's state as found (before the reseed).
  int64_t walk = 0;
  for (int32_t x = 0; x < layout.width; ++x) {
    walk += WalkStep(t) * int64_t{layout.stride};
    columnWalk[x] = static_cast<int32_t>(walk);
  }
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  SeedRandom(SizeSeed(layout));

  const uint8_t fill[3] = {static_cast<uint8_t>(params.fillColor >> 16), static_cast<uint8_t>(params.fillColor >> 8),
                           static_cast<uint8_t>(params.fillColor)};
  if (PixelBytes(frame) == 3) {
    WrinkleRows<3>(frame, columnWalk, t, fill);
  } else {
    WrinkleRows<1>(frame, columnWalk, t, fill + 2);  // the red byte is the grey level
  }
  return frame.Finish();
}

HGLOBAL Melting(HGLOBAL dib, int32_t intensity) {
  if (intensity < 1 || intensity > 100 || !dib) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  std::memcpy(frame.result(), frame.source(), frame.layout().blockSize);
  MeltDrops(frame, MeltTarget{frame.resultPixels(), ptrdiff_t(frame.layout().stride), nullptr, 0}, intensity);
  return frame.Finish();
}

int PairedMelting(HGLOBAL image, HGLOBAL mask, int32_t intensity, HGLOBAL* newImage, HGLOBAL* newMask) {
  if (!newImage || !newMask) return 0;
  *newImage = nullptr;
  *newMask = nullptr;
  if (intensity < 1 || intensity > 100 || !image || !mask || !IsGreyRampDib(mask)) return 0;

  MaskCopy maskCopy;
  RoutineFrame frame(kFilterKinds);
  if (!maskCopy.Open(mask) || !frame.OpenSource(image)) return 0;
  // A mask of another size would be read out of bounds; it is refused like a missing one.
  const DibLayout& layout = frame.layout();
  if (maskCopy.layout().width != layout.width || maskCopy.layout().height != layout.height) return 0;
  if (!frame.CreateResult() || !maskCopy.Create()) return 0;
  std::memcpy(frame.result(), frame.source(), layout.blockSize);
  // Both strides are kept at full width, so the routine also serves images whose rows are
  // longer than 32767 bytes.
  const MeltTarget target{frame.resultPixels(), ptrdiff_t(layout.stride), maskCopy.copyPixels(),
                          ptrdiff_t(maskCopy.layout().stride)};
  MeltDrops(frame, target, intensity);
  HGLOBAL meltedMask = maskCopy.Finish(frame.aborted());
  HGLOBAL meltedImage = frame.Finish();
  if (!meltedImage) return 0;
  *newImage = meltedImage;
  *newMask = meltedMask;
  return 1;
}
