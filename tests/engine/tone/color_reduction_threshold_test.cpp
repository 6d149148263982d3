#include "engine/tone/tone.h"

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
  const std::tuple<Bgr, int, uint8_t> cases[] = {
      {{0, 0, 255}, 75, 255},       // red weighs 76: 19380 is above 255 x 75
      {{0, 0, 0}, 0, 0},            // level 0: black stays black
      {{100, 100, 100}, 100, 0},    // 25500 is not above 255 x 100, 25576 is
      {{100, 100, 101}, 100, 255},
  };
  for (const auto& [colour, level, expected] : cases) {
    ScopedDib source(MakeRgbDib(1, 1, [c = colour](int, int) { return c; }));
    const ThresholdParams params{level}, refused{level ? 256 : -1};
    ScopedDib result(Threshold(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(RgbAt(result.get(), 0, 0), (Bgr{expected, expected, expected})) << "level " << level;
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
