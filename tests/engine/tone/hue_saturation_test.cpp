#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using HueSaturationTest = EngineTest;

TEST_F(HueSaturationTest, ColourTransformAtWorkedValuesRefusalsAndPalettes) {
  const std::tuple<Bgr, HueSaturationParams, Bgr> cases[] = {
      {{0, 0, 255}, {120, 0}, {0, 255, 0}},   // pure red to pure green
      {{0, 0, 255}, {-120, 0}, {255, 0, 0}},  // and to pure blue
      // (r 200, g 100, b 50) turned 30: H' = 3000 + 4500, sector 0, rest 9000 - 7500,
      // mid = 200 - 1530 / 60 = 175; then saturation 50: (64 c + 12800) >> 7
      {{50, 100, 200}, {30, 50}, {125, 187, 200}},
      {{50, 120, 200}, {0, -100}, {0, 40, 200}},  // 2c - mx, 0 at the least
  };
  for (const auto& [in, params, expected] : cases) {
    ScopedDib source(MakeRgbDib(1, 1, [colour = in](int, int) { return colour; }));
    ScopedDib result(HueSaturation(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(RgbAt(result.get(), 0, 0), expected) << "hue " << params.hue << " sat " << params.saturation;
  }
  ScopedDib source(MakeRgbDib(1, 1, [](int, int) { return Bgr{1, 2, 3}; }));
  for (const HueSaturationParams& refused : {HueSaturationParams{0, 0}, {181, 0}, {0, -101}}) {
    EXPECT_EQ(HueSaturation(source.get(), &refused), nullptr) << refused.hue << " " << refused.saturation;
  }
  // A palette image turns only its palette. Its 4000 pixel bytes are copied with a report
  // before bytes 0, 256, 1024, 1280, 2048, 2304, 3072 and 3328.
  progress().clear();
  ScopedDib palette(MakePaletteDib(4, 1000, 8, {{0, 0, 255, 9}, {}}, [](int x, int) { return uint8_t(x & 1); }));
  const HueSaturationParams green{120, 0};
  ScopedDib result(HueSaturation(palette.get(), &green));
  ASSERT_TRUE(result);
  EXPECT_EQ(progress(), (std::vector<int>{0, 6, 25, 32, 51, 57, 76, 83, 100}));
  EXPECT_EQ(PixelBytes(result.get()), PixelBytes(palette.get()));
  const RGBQUAD q = PaletteAt(result.get(), 0);
  EXPECT_EQ((std::vector<int>{q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved}), (std::vector<int>{0, 255, 0, 9}));
}

}  // namespace
