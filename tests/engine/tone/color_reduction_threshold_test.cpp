#include "engine/tone/tone.h"

#include <array>
#include <utility>

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using ColorReductionTest = EngineTest;
using ThresholdTest = EngineTest;

TEST_F(ColorReductionTest, QuantisesToTheNearestStep) {
  const int cases[][3] = {
      // levels, level, expected: steps 255 and 128 (256 held at 255), then 36 and 2
      {2, 127, 0}, {2, 128, 255}, {3, 63, 0}, {3, 64, 128}, {3, 191, 128}, {3, 192, 255},
      {8, 17, 0},  {8, 18, 36},   {8, 255, 252}, {128, 253, 254}, {128, 255, 255},
  };
  ScopedDib source(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  for (const auto& [levels, level, expected] : cases) {
    const ColorReductionParams params{CHANNEL_GREEN, levels};  // a grey ramp is quantised anyway
    ScopedDib result(ColorReduction(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), level, 0), expected) << "levels " << levels << " level " << level;
  }
  for (const ColorReductionParams& refused : {ColorReductionParams{0, 1}, {0, 129}, {4, 8}}) {
    EXPECT_EQ(ColorReduction(source.get(), &refused), nullptr) << refused.channel << " " << refused.levels;
  }
}

TEST_F(ThresholdTest, WhiteAboveTheLevelByLuminance) {
  // Luminance 76 r + 150 g + 29 b against 255 x level. The colours repeat along a row of 41
  // pixels, so each meets several places of the 16-pixel blocks and of the tail after them.
  const Bgr colours[8] = {
      {100, 100, 100},  // 25500: not above level 100
      {100, 100, 101},  // 25576
      {0, 0, 255},      // 19380: above level 75 only
      {255, 255, 255},  // 65025: above every level but 255
      {0, 170, 0},      // 25500
      {0, 171, 0},      // 25650
      {255, 0, 0},      // 7395
      {0, 0, 0},
  };
  const std::pair<int, std::array<uint8_t, 8>> levels[] = {
      {100, {0, 255, 0, 255, 0, 255, 0, 0}},
      {75, {255, 255, 255, 255, 255, 255, 0, 0}},
      {0, {255, 255, 255, 255, 255, 255, 255, 0}},
      {255, {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  ScopedDib source(MakeRgbDib(41, 2, [&colours](int x, int) { return colours[x % 8]; }));
  for (const auto& [level, expected] : levels) {
    const ThresholdParams params{level}, refused{level ? 256 : -1};
    ScopedDib result(Threshold(source.get(), &params));
    ASSERT_TRUE(result);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 41; ++x) {
        const uint8_t e = expected[x % 8];
        EXPECT_EQ(RgbAt(result.get(), x, y), (Bgr{e, e, e})) << "level " << level << " x " << x;
      }
    }
    EXPECT_EQ(Threshold(source.get(), &refused), nullptr);
  }
  // Palette images get a black and white palette (luminances 15200 and 63750), fourth bytes kept.
  const std::vector<RGBQUAD> pair = {{0, 0, 200, 1}, {250, 250, 250, 2}};
  ScopedDib palette(MakePaletteDib(3, 1, 8, pair, [](int x, int) { return uint8_t(x & 1); }));
  const ThresholdParams hundred{100};
  ScopedDib result(Threshold(palette.get(), &hundred));
  ASSERT_TRUE(result);
  const std::vector<uint8_t> block = BlockBytes(result.get());
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 40, block.end()),
            (std::vector<uint8_t>{0, 0, 0, 1, 255, 255, 255, 2, 0, 1, 0, 0}));
}

}  // namespace
