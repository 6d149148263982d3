#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using CurveTest = EngineTest;
using EqualizeTest = EngineTest;
using InvertTest = EngineTest;

Bgr EntryColour(HGLOBAL dib, int index) {
  const RGBQUAD q = PaletteAt(dib, index);
  return Bgr{q.rgbBlue, q.rgbGreen, q.rgbRed};
}

TEST_F(CurveTest, ChannelPicksTheBytesThatGoThroughTheCurve) {
  // Width 1 with source padding 0xEE: the result's padding stays zero.
  ScopedDib source(MakeRgbDib(1, 1, [](int, int) { return Bgr{10, 20, 30}; }));
  static_cast<uint8_t*>(GlobalLock(source.get()))[43] = 0xEE;
  GlobalUnlock(source.get());
  const std::vector<uint8_t> expected[] = {{15, 25, 35, 0}, {10, 20, 35, 0}, {10, 25, 30, 0}, {15, 20, 30, 0}};
  CurveParams params{};
  for (int i = 0; i < 256; ++i) params.curve[i] = uint8_t(i + 5);
  for (int channel = 0; channel < 4; ++channel) {
    params.channel = channel;
    ScopedDib result(ApplyCurve(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(PixelBytes(result.get()), expected[channel]) << channel;
  }
  params.channel = 4;
  EXPECT_EQ(ApplyCurve(source.get(), &params), nullptr);
}

TEST_F(EqualizeTest, LevelTableFromOneHistogram) {
  // Grey levels 10, 20, 20, 30: N = 4, 255 / 5 = 51; 1 sample below 20, 3 below 30.
  ScopedDib grey(MakeGreyDib(4, 1, [](int x, int) { return uint8_t(x == 0 ? 10 : x == 3 ? 30 : 20); }));
  ScopedDib greyResult(Equalize(grey.get()));
  ASSERT_TRUE(greyResult);
  EXPECT_EQ(PixelBytes(greyResult.get()), (std::vector<uint8_t>{0, 51, 51, 153}));

  // A flat colour: levels up to its own map to 0, so the result is black.
  ScopedDib flat(MakeRgbDib(3, 3, [](int, int) { return Bgr{90, 90, 90}; }));
  ScopedDib flatResult(Equalize(flat.get()));
  ASSERT_TRUE(flatResult);
  EXPECT_EQ(RgbAt(flatResult.get(), 2, 2), (Bgr{0, 0, 0}));

  // The three channels share the histogram: samples 10, 20, 30, 30, 30, 30, N = 6,
  // 255 / 7 = 36.43: 20 to 36, 30 to 73.
  ScopedDib eight(MakePaletteDib(2, 1, 8, {{10, 20, 30, 4}, {30, 30, 30, 8}}, [](int x, int) { return uint8_t(x); }));
  ScopedDib eightResult(Equalize(eight.get()));
  ASSERT_TRUE(eightResult);
  EXPECT_EQ(EntryColour(eightResult.get(), 0), (Bgr{0, 36, 73}));
  EXPECT_EQ(PaletteAt(eightResult.get(), 1).rgbReserved, 8);
}

TEST_F(EqualizeTest, OddWidthFourBitRowsLeaveTheLastNibbleUncounted) {
  // One pixel (index 0, level 10); the unused low nibble holds index 1 (level 5), which,
  // counted, would lift level 10 to 3 x 255 / 4 + 0.5 = 191.
  ScopedDib source(MakePaletteDib(1, 1, 4, {{10, 10, 10, 0}, {5, 5, 5, 0}}, [](int, int) { return uint8_t{0}; }));
  static_cast<uint8_t*>(GlobalLock(source.get()))[48] = 0x01;
  GlobalUnlock(source.get());
  ScopedDib result(Equalize(source.get()));
  ASSERT_TRUE(result);
  EXPECT_EQ(EntryColour(result.get(), 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(PixelBytes(result.get()), PixelBytes(source.get())) << "only the palette changes";
}

TEST_F(InvertTest, WhatEachKindComplementsAndTwiceGivesBackTheSource) {
  const std::vector<RGBQUAD> pair = {{10, 20, 30, 40}, {50, 60, 70, 80}};
  struct Case {
    HGLOBAL source;
    std::vector<uint8_t> pixels;  // of the result
    Bgr entry0;                   // the result's palette entry 0 (palette images)
  };
  const Case cases[] = {
      {MakeRgbDib(1, 1, [](int, int) { return Bgr{0, 100, 255}; }), {255, 155, 0, 255}, {}},  // padding too
      {MakePaletteDib(3, 1, 1, pair, [](int x, int) { return uint8_t(x == 1); }), {0xBF, 0xFF, 0xFF, 0xFF},
       {10, 20, 30}},  // palette kept
      {MakePaletteDib(3, 1, 4, pair, [](int x, int) { return uint8_t(x == 1); }), {0x01, 0x00, 0, 0},
       {245, 235, 225}},
  };
  for (const Case& c : cases) {
    ScopedDib source(c.source);
    ScopedDib once(Invert(source.get()));
    ASSERT_TRUE(once);
    EXPECT_EQ(PixelBytes(once.get()), c.pixels);
    if (c.pixels.front() != 255) {
      EXPECT_EQ(EntryColour(once.get(), 0), c.entry0);
    }
    ScopedDib twice(Invert(once.get()));
    ASSERT_TRUE(twice);
    EXPECT_EQ(BlockBytes(twice.get()), BlockBytes(source.get()));
  }
}

}  // namespace
