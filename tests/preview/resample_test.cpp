#include "preview/resample.h"

#include "engine/engine_fixture.h"
#include "image/dib.h"
#include "test_images.h"

namespace {

using Resample = EngineTest;

TEST_F(Resample, FullSizeKeepsEveryPixelAndHalvingTakesEverySecondOne) {
  ScopedDib source(MakeRgbDib(7, 5, [](int x, int y) { return Bgr{uint8_t(30 * x), uint8_t(50 * y), uint8_t(x * y)}; }));
  ScopedDib same(ResampleDib(source.get(), 0, 0, 7, 5, 7, 5));
  ASSERT_TRUE(same);
  EXPECT_EQ(BlockBytes(same.get()), BlockBytes(source.get()));
  EXPECT_EQ(progress().back(), 100);
  // Header, grey palette and every pixel as if made at the half size.
  ScopedDib grey(MakeGreyDib(100, 100, [](int x, int y) { return uint8_t(x * 7 + y * 3); }));
  ScopedDib halved(ResampleDib(grey.get(), 0, 0, 100, 100, 50, 50));
  ScopedDib expected(MakeGreyDib(50, 50, [](int x, int y) { return uint8_t(x * 14 + y * 6); }));
  ASSERT_TRUE(halved);
  EXPECT_EQ(BlockBytes(halved.get()), BlockBytes(expected.get()));
}

TEST_F(Resample, BlendsNeighboursInEighths) {
  // Bottom row 0, 64; top row 128, 192. Doubling puts weight 4 of 8 on each neighbour:
  // (32 + (0 + 64 + 128 + 192) x 16) >> 6 = 96.
  const uint8_t levels[2][2] = {{0, 64}, {128, 192}};
  ScopedDib source(MakeGreyDib(2, 2, [&](int x, int y) { return levels[y][x]; }));
  ScopedDib result(ResampleDib(source.get(), 0, 0, 2, 2, 4, 4));
  ASSERT_TRUE(result);
  EXPECT_EQ(ByteAt(result.get(), 1, 1), 96);
  // Along the bottom row: 0, (32 + 64 x 32) >> 6 = 32, then the last column repeated.
  EXPECT_EQ(ByteAt(result.get(), 0, 0), 0);
  EXPECT_EQ(ByteAt(result.get(), 1, 0), 32);
  EXPECT_EQ(ByteAt(result.get(), 2, 0), 64);
  EXPECT_EQ(ByteAt(result.get(), 3, 0), 64);
  EXPECT_EQ(ByteAt(result.get(), 0, 3), 128) << "last row repeated";
}

TEST_F(Resample, OutsideTheSourceStaysZero) {
  ScopedDib source(MakeRgbDib(7, 3, [](int x, int) { return Bgr{uint8_t(10 + x), 1, 1}; }));
  ScopedDib result(ResampleDib(source.get(), 5, 2, 4, 2, 4, 2));
  ASSERT_TRUE(result);
  EXPECT_EQ(RgbAt(result.get(), 0, 0), (Bgr{15, 1, 1}));
  EXPECT_EQ(RgbAt(result.get(), 1, 0), (Bgr{16, 1, 1}));
  EXPECT_EQ(RgbAt(result.get(), 2, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(RgbAt(result.get(), 0, 1), (Bgr{0, 0, 0})) << "row 3 is past the top";
}

TEST_F(Resample, KindsOtherThanRgbAndGrey) {
  auto index = [](int x, int) { return uint8_t(x % 2); };
  ScopedDib four(MakePaletteDib(8, 2, 4, std::vector<RGBQUAD>(16), index));
  EXPECT_EQ(ResampleDib(four.get(), 0, 0, 8, 2, 4, 1), nullptr);

  std::vector<RGBQUAD> palette(200, RGBQUAD{9, 9, 9, 0});
  ScopedDib colour(MakePaletteDib(8, 2, 8, palette, [](int, int) { return uint8_t{77}; }));
  ScopedDib zero(ResampleDib(colour.get(), 0, 0, 8, 2, 4, 1));
  ASSERT_TRUE(zero);
  EXPECT_EQ(PixelBytes(zero.get()), std::vector<uint8_t>(4, 0));
  EXPECT_EQ(PaletteAt(zero.get(), 199).rgbBlue, 9);

  ScopedDib bits(MakePaletteDib(16, 1, 1, std::vector<RGBQUAD>(2), [](int x, int) { return uint8_t(x % 4 == 0); }));
  ScopedDib halved(ResampleDib(bits.get(), 0, 0, 16, 1, 8, 1));
  ASSERT_TRUE(halved);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(IndexAt(halved.get(), i, 0), i % 2 == 0 ? 1 : 0) << i;

  EXPECT_EQ(ResampleDib(colour.get(), 0, 0, 0, 2, 4, 1), nullptr);
  EXPECT_EQ(ResampleDib(colour.get(), 0, 0, 8, 2, 0, 1), nullptr);
  EXPECT_EQ(GlobalFlags(colour.get()) & GMEM_LOCKCOUNT, 0u);
}

TEST_F(Resample, EscapeHeldDownFailsTheRun) {
  ScopedDib source(MakeGreyDib(10, 10, [](int x, int) { return uint8_t(x); }));
  PlatformPressKey(VK_ESCAPE);
  SetCursor(Stock(IDC_CROSS));
  EXPECT_EQ(ResampleDib(source.get(), 0, 0, 10, 10, 5, 5), nullptr);
  EXPECT_EQ(progress(), std::vector<int>{100});
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS)) << "the resampler leaves the cursor alone";
}

}  // namespace
