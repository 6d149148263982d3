#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using ColorReductionTest = EngineTest;
using ThresholdTest = EngineTest;

TEST_F(ColorReductionTest, QuantisesToTheNearestStep) {
  struct Case {
    int levels, level, expected;
  };
  const Case cases[] = {
      {2, 127, 0}, {2, 128, 255},                                // step 255
      {3, 63, 0},  {3, 64, 128}, {3, 191, 128}, {3, 192, 255},   // step 128, 256 held at 255
      {8, 17, 0},  {8, 18, 36},  {8, 255, 252},                  // step 36
      {128, 253, 254}, {128, 255, 255},                          // step 2
  };
  ScopedDib source(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  for (const Case& c : cases) {
    const ColorReductionParams params{CHANNEL_GREEN, c.levels};  // a grey ramp is quantised anyway
    ScopedDib result(ColorReduction(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), c.level, 0), c.expected) << "levels " << c.levels << " level " << c.level;
  }
  for (const ColorReductionParams& refused : {ColorReductionParams{0, 1}, {0, 129}, {4, 8}}) {
    EXPECT_EQ(ColorReduction(source.get(), &refused), nullptr) << refused.channel << " " << refused.levels;
  }
}

TEST_F(ColorReductionTest, AllChannelsMapTheWholeRowOfA24BitImage) {
  // Width 1: 3 pixel bytes and one padding byte, 200 in the source.
  ScopedDib source(MakeRgbDib(1, 1, [](int, int) { return Bgr{100, 130, 250}; }));
  static_cast<uint8_t*>(GlobalLock(source.get()))[43] = 200;
  GlobalUnlock(source.get());
  const std::vector<uint8_t> expected[] = {{0, 255, 255, 255}, {100, 130, 255, 0}, {100, 255, 250, 0}, {0, 130, 250, 0}};
  for (int channel = 0; channel < 4; ++channel) {
    const ColorReductionParams params{channel, 2};
    ScopedDib result(ColorReduction(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(PixelBytes(result.get()), expected[channel]) << channel;
  }
}

TEST_F(ThresholdTest, WhiteAboveTheLevelByLuminance) {
  struct Case {
    Bgr colour;
    int level;
    uint8_t expected;
  };
  const Case cases[] = {
      {{255, 255, 255}, 255, 0},  // level 255: everything black
      {{0, 0, 1}, 0, 255},        // level 0: any luminance is white (76 here), black stays black
      {{0, 0, 0}, 0, 0},
      {{100, 100, 100}, 100, 0},  // 25500 is not above 255 x 100, 25576 is
      {{100, 100, 101}, 100, 255},
  };
  for (const Case& c : cases) {
    ScopedDib source(MakeRgbDib(1, 1, [&c](int, int) { return c.colour; }));
    const ThresholdParams params{c.level};
    ScopedDib result(Threshold(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(RgbAt(result.get(), 0, 0), (Bgr{c.expected, c.expected, c.expected})) << "level " << c.level;
    const ThresholdParams refused{c.level ? 256 : -1};
    EXPECT_EQ(Threshold(source.get(), &refused), nullptr);
  }
}

TEST_F(ThresholdTest, PaletteImagesGetABlackAndWhitePalette) {
  // Row padding set in the source: 8-bit rows are copied width bytes, 4-bit rows whole.
  const std::vector<RGBQUAD> palette = {{0, 0, 200, 1}, {250, 250, 250, 2}};  // 15200, 63750
  for (int bits : {8, 4}) {
    ScopedDib source(MakePaletteDib(3, 1, bits, palette, [](int x, int) { return uint8_t(x % 2); }));
    static_cast<uint8_t*>(GlobalLock(source.get()))[48 + 3] = 0x77;
    GlobalUnlock(source.get());
    const ThresholdParams params{100};
    ScopedDib result(Threshold(source.get(), &params));
    ASSERT_TRUE(result);
    const RGBQUAD black = PaletteAt(result.get(), 0), white = PaletteAt(result.get(), 1);
    EXPECT_EQ((std::vector<int>{black.rgbRed, black.rgbReserved, white.rgbBlue, white.rgbReserved}),
              (std::vector<int>{0, 1, 255, 2}));
    EXPECT_EQ(PixelBytes(result.get())[3], bits == 8 ? 0 : 0x77) << bits;
  }
}

}  // namespace
