#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using CurveTest = EngineTest;
using EqualizeTest = EngineTest;
using InvertTest = EngineTest;

// Everything after the 40-byte header: the palette, then the pixel rows.
std::vector<uint8_t> AfterHeader(HGLOBAL dib) {
  const std::vector<uint8_t> block = BlockBytes(dib);
  return std::vector<uint8_t>(block.begin() + 40, block.end());
}

TEST_F(CurveTest, ChannelPicksTheBytesThatGoThroughTheCurve) {
  ScopedDib source(MakeRgbDib(1, 1, [](int, int) { return Bgr{10, 20, 30}; }));
  // Channels 0 to 3: all, red, green, blue; 4 is refused.
  const std::vector<uint8_t> expected[] = {{15, 25, 35, 0}, {10, 20, 35, 0}, {10, 25, 30, 0}, {15, 20, 30, 0}, {}};
  CurveParams params{};
  for (int i = 0; i < 256; ++i) params.curve[i] = uint8_t(i + 5);
  for (params.channel = 0; params.channel <= 4; ++params.channel) {
    ScopedDib result(ApplyCurve(source.get(), &params));
    EXPECT_EQ(result ? PixelBytes(result.get()) : std::vector<uint8_t>{}, expected[params.channel]) << params.channel;
  }
}

TEST_F(EqualizeTest, LevelTableFromOneHistogram) {
  // Grey levels 10, 20, 20, 30: N = 4, 255 / 5 = 51; 1 sample below 20, 3 below 30.
  ScopedDib grey(MakeGreyDib(4, 1, [](int x, int) { return uint8_t(x == 0 ? 10 : x == 3 ? 30 : 20); }));
  // The three channels of the palette entries share the histogram: samples 10, 20, 30, 30, 30,
  // 30, N = 6, 255 / 7 = 36.43: 20 to 36, 30 to 73; fourth bytes kept, pixels copied.
  ScopedDib eight(MakePaletteDib(2, 1, 8, {{10, 20, 30, 4}, {30, 30, 30, 8}}, [](int x, int) { return uint8_t(x); }));
  // One 4-bit pixel (index 0, level 10); the unused low nibble holds index 1 (level 5), which,
  // counted, would lift level 10 to 3 x 255 / 4 + 0.5 = 191.
  ScopedDib four(MakePaletteDib(1, 1, 4, {{10, 10, 10, 0}, {5, 5, 5, 0}}, [](int, int) { return uint8_t{0}; }));
  static_cast<uint8_t*>(GlobalLock(four.get()))[48] = 0x01;
  GlobalUnlock(four.get());
  const std::pair<HGLOBAL, std::vector<uint8_t>> cases[] = {
      {grey.get(), {0, 51, 51, 153}},  // pixels only
      {eight.get(), {0, 36, 73, 4, 73, 73, 73, 8, 0, 1, 0, 0}},
      {four.get(), {0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0}},
  };
  for (const auto& [source, expected] : cases) {
    ScopedDib result(Equalize(source));
    ASSERT_TRUE(result);
    EXPECT_EQ(source == grey.get() ? PixelBytes(result.get()) : AfterHeader(result.get()), expected);
  }
}

TEST_F(InvertTest, WhatEachKindComplements) {
  // 24-bit pixels with their padding; the 1-bit palette kept and its rows complemented; the
  // 4-bit palette complemented and its rows kept.
  const std::vector<RGBQUAD> pair = {{10, 20, 30, 40}, {50, 60, 70, 80}};
  const std::pair<HGLOBAL, std::vector<uint8_t>> cases[] = {
      {MakeRgbDib(1, 1, [](int, int) { return Bgr{0, 100, 255}; }), {255, 155, 0, 255}},
      {MakePaletteDib(3, 1, 1, pair, [](int x, int) { return uint8_t(x == 1); }),
       {10, 20, 30, 40, 50, 60, 70, 80, 0xBF, 0xFF, 0xFF, 0xFF}},
      {MakePaletteDib(3, 1, 4, pair, [](int x, int) { return uint8_t(x == 1); }),
       {245, 235, 225, 40, 205, 195, 185, 80, 0x01, 0, 0, 0}},
  };
  for (const auto& [dib, expected] : cases) {
    ScopedDib source(dib), result(Invert(dib));
    ASSERT_TRUE(result);
    EXPECT_EQ(AfterHeader(result.get()), expected);
  }
}

}  // namespace
