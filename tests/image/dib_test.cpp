#include <gtest/gtest.h>

#include "image/dib.h"
#include "test_images.h"

namespace {

TEST(DibRowStride, FollowsTheRowTable) {
  struct Case {
    int bits;
    int strides[5];  // widths 1 to 5
  };
  const Case cases[] = {
      {24, {4, 8, 12, 12, 16}},
      {8, {4, 4, 4, 4, 8}},
      {4, {4, 4, 4, 4, 4}},
      {1, {4, 4, 4, 4, 4}},
  };
  for (const Case& c : cases) {
    for (int w = 1; w <= 5; ++w) EXPECT_EQ(DibRowStride(w, c.bits), c.strides[w - 1]) << c.bits << " bits, width " << w;
  }
  EXPECT_EQ(DibRowStride(33, 1), 8);
  EXPECT_EQ(DibRowStride(9, 4), 8);
  EXPECT_EQ(DibRowStride(10, 16), 0);
}

std::vector<RGBQUAD> Ramp() {
  std::vector<RGBQUAD> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return ramp;
}

TEST(DibClassify, GivesEachKind) {
  auto zero = [](int, int) { return uint8_t{0}; };
  ScopedDib rgb(MakeRgbDib(3, 2, [](int, int) { return Bgr{1, 2, 3}; }));
  ScopedDib grey(MakeGreyDib(3, 2, zero));
  ScopedDib four(MakePaletteDib(3, 2, 4, std::vector<RGBQUAD>(16), zero));
  ScopedDib one(MakePaletteDib(3, 2, 1, std::vector<RGBQUAD>(2), zero));
  EXPECT_EQ(ClassifyDib(nullptr), kDibNone);
  EXPECT_EQ(ClassifyDib(rgb.get()), kDibRgb24);
  EXPECT_EQ(ClassifyDib(grey.get()), kDibGreyRamp);
  EXPECT_EQ(ClassifyDib(four.get()), kDibPalette4);
  EXPECT_EQ(ClassifyDib(one.get()), kDibBilevel);
  EXPECT_EQ(IsGreyRampDib(grey.get()), 1);
  EXPECT_EQ(IsGreyRampDib(rgb.get()), 0);
  EXPECT_EQ(IsGreyRampDib(nullptr), 0);

  // A 16-bit image is of no kind the library handles.
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(rgb.get()));
  header->biBitCount = 16;
  GlobalUnlock(rgb.get());
  EXPECT_EQ(ClassifyDib(rgb.get()), kDibNone);
}

TEST(DibClassify, GreyRampNeedsEveryEntryAndExactly256) {
  auto zero = [](int, int) { return uint8_t{0}; };
  std::vector<RGBQUAD> palette = Ramp();
  palette[255].rgbGreen = 254;
  ScopedDib lastEntryOff(MakePaletteDib(2, 2, 8, palette, zero));
  EXPECT_EQ(ClassifyDib(lastEntryOff.get()), kDibPalette8);

  std::vector<RGBQUAD> short_ramp = Ramp();
  short_ramp.pop_back();
  ScopedDib only255(MakePaletteDib(2, 2, 8, short_ramp, zero));
  EXPECT_EQ(ClassifyDib(only255.get()), kDibPalette8);

  std::vector<RGBQUAD> reserved = Ramp();
  for (RGBQUAD& q : reserved) q.rgbReserved = 7;
  ScopedDib reservedSet(MakePaletteDib(2, 2, 8, reserved, zero));
  EXPECT_EQ(ClassifyDib(reservedSet.get()), kDibGreyRamp);
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
