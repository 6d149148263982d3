#include <gtest/gtest.h>

#include <tuple>

#include "image/dib.h"
#include "test_images.h"

namespace {

TEST(DibRowStride, FollowsTheRowTable) {
  struct Case {
    int bits;
    int strides[5];  // widths 1 to 5
  };
  const Case cases[] = {{24, {4, 8, 12, 12, 16}}, {8, {4, 4, 4, 4, 8}}};
  for (const Case& c : cases) {
    for (int w = 1; w <= 5; ++w) EXPECT_EQ(DibRowStride(w, c.bits), c.strides[w - 1]) << c.bits << " bits, width " << w;
  }
  // The first widths of 4 and 1 bits that need a second word; no row for other depths.
  for (auto [w, bits, stride] : {std::tuple{8, 4, 4}, {9, 4, 8}, {32, 1, 4}, {33, 1, 8}, {10, 16, 0}}) {
    EXPECT_EQ(DibRowStride(w, bits), stride) << bits << " bits, width " << w;
  }
}

std::vector<RGBQUAD> Ramp(int size = 256, int changed = -1, uint8_t reserved = 0) {
  std::vector<RGBQUAD> ramp(size);
  for (int i = 0; i < size; ++i) ramp[i] = RGBQUAD{uint8_t(i), uint8_t(i == changed ? i - 1 : i), uint8_t(i), reserved};
  return ramp;
}

TEST(DibClassify, GivesEachKind) {
  auto zero = [](int, int) { return uint8_t{0}; };
  struct Case {
    const char* what;
    HGLOBAL dib;
    int kind;
  };
  const Case cases[] = {
      {"none", nullptr, kDibNone},
      {"24 bits", MakeRgbDib(3, 2, [](int, int) { return Bgr{1, 2, 3}; }), kDibRgb24},
      {"grey ramp", MakeGreyDib(3, 2, zero), kDibGreyRamp},
      {"4 bits", MakePaletteDib(3, 2, 4, std::vector<RGBQUAD>(16), zero), kDibPalette4},
      {"1 bit", MakePaletteDib(3, 2, 1, std::vector<RGBQUAD>(2), zero), kDibBilevel},
      // A grey ramp needs every entry and exactly 256; the reserved bytes do not count.
      {"last entry off", MakePaletteDib(2, 2, 8, Ramp(256, 255), zero), kDibPalette8},
      {"255 entries", MakePaletteDib(2, 2, 8, Ramp(255), zero), kDibPalette8},
      {"reserved set", MakePaletteDib(2, 2, 8, Ramp(256, -1, 7), zero), kDibGreyRamp},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyDib(c.dib), c.kind) << c.what;
    EXPECT_EQ(IsGreyRampDib(c.dib), c.kind == kDibGreyRamp) << c.what;
  }
  // A 16-bit image is of no kind the library handles.
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(cases[1].dib));
  header->biBitCount = 16;
  GlobalUnlock(cases[1].dib);
  EXPECT_EQ(ClassifyDib(cases[1].dib), kDibNone);
  for (const Case& c : cases) {
    if (c.dib) GlobalFree(c.dib);
  }
}

TEST(DibSize, FillsWhatIsAskedFor) {
  ScopedDib dib(MakeRgbDib(7, 3, [](int, int) { return Bgr{}; }));
  int width = -1, height = -1;
  EXPECT_EQ(GetDibSize(dib.get(), nullptr, &height), 1);
  EXPECT_EQ(height, 3);
  EXPECT_EQ(GetDibSize(dib.get(), &width, nullptr), 1);
  EXPECT_EQ(width, 7);

  width = height = -1;
  EXPECT_EQ(GetDibSize(nullptr, &width, &height), 0);
  HGLOBAL freed = MakeRgbDib(2, 2, [](int, int) { return Bgr{}; });
  GlobalFree(freed);
  EXPECT_EQ(GetDibSize(freed, &width, &height), 0);
  EXPECT_EQ(width, -1);
  EXPECT_EQ(height, -1);
  EXPECT_EQ(GlobalFlags(dib.get()) & GMEM_LOCKCOUNT, 0u) << "helpers keep no lock";
}

TEST(DibLayoutRead, ChecksTheBlockAgainstTheHeader) {
  ScopedDib dib(MakePaletteDib(5, 3, 4, std::vector<RGBQUAD>(16), [](int, int) { return uint8_t{0}; }));
  const void* bits = GlobalLock(dib.get());
  DibLayout layout{};
  ASSERT_TRUE(ReadDibLayout(bits, GlobalSize(dib.get()), &layout));
  EXPECT_EQ(layout.stride, 4u);
  EXPECT_EQ(layout.pixelOffset, 40u + 64u);
  EXPECT_EQ(layout.blockSize, 40u + 64u + 12u);
  EXPECT_FALSE(ReadDibLayout(bits, layout.blockSize - 1, &layout)) << "block shorter than the header says";
  EXPECT_FALSE(ReadDibLayout(bits, 39, &layout));
  GlobalUnlock(dib.get());

  // A header claiming an enormous picture is refused, not overflowed.
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib.get()));
  header->biWidth = 0x7FFFFFFF;
  header->biHeight = 0x7FFFFFFF;
  EXPECT_FALSE(ReadDibLayout(header, GlobalSize(dib.get()), &layout));
  header->biWidth = 5;
  header->biHeight = 0;
  EXPECT_FALSE(ReadDibLayout(header, GlobalSize(dib.get()), &layout));
  GlobalUnlock(dib.get());
}

}  // namespace
