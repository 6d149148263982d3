#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using HueSaturationTest = EngineTest;

TEST_F(HueSaturationTest, ColourTransformAtWorkedValues) {
  struct Case {
    Bgr in;
    int hue, saturation;
    Bgr expected;
  };
  const Case cases[] = {
      {{0, 0, 255}, 120, 0, {0, 255, 0}},   // pure red to pure green
      {{0, 0, 255}, -120, 0, {255, 0, 0}},  // and to pure blue
      // (r 200, g 100, b 50) turned 30: H' = 3000 + 4500, sector 0, rest 9000 - 7500,
      // mid = 200 - 1530 / 60 = 175; then saturation 50: (64 c + 12800) >> 7
      {{50, 100, 200}, 30, 0, {50, 175, 200}},
      {{50, 100, 200}, 30, 50, {125, 187, 200}},
      {{50, 100, 200}, 0, 100, {200, 200, 200}},  // every channel to the largest
      {{50, 120, 200}, 0, -100, {0, 40, 200}},    // 2c - mx, 0 at the least
  };
  for (const Case& c : cases) {
    ScopedDib source(MakeRgbDib(1, 1, [&c](int, int) { return c.in; }));
    const HueSaturationParams params{c.hue, c.saturation};
    ScopedDib result(HueSaturation(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(RgbAt(result.get(), 0, 0), c.expected) << "hue " << c.hue << " sat " << c.saturation;
  }
  for (const HueSaturationParams& refused : {HueSaturationParams{0, 0}, {181, 0}, {0, -101}}) {
    ScopedDib source(MakeRgbDib(1, 1, [](int, int) { return Bgr{1, 2, 3}; }));
    EXPECT_EQ(HueSaturation(source.get(), &refused), nullptr) << refused.hue << " " << refused.saturation;
  }
}

TEST_F(HueSaturationTest, PaletteImagesChangeOnlyTheirPalette) {
  ScopedDib grey(MakeGreyDib(5, 3, [](int x, int y) { return uint8_t(40 * x + y); }));
  const HueSaturationParams params{120, 30};
  ScopedDib greyResult(HueSaturation(grey.get(), &params));
  ASSERT_TRUE(greyResult);
  EXPECT_EQ(BlockBytes(greyResult.get()), BlockBytes(grey.get())) << "a grey ramp comes back unchanged";

  ScopedDib four(MakePaletteDib(5, 2, 4, {{0, 0, 255, 9}}, [](int, int) { return uint8_t{0}; }));
  const HueSaturationParams green{120, 0};
  ScopedDib result(HueSaturation(four.get(), &green));
  ASSERT_TRUE(result);
  EXPECT_EQ(PixelBytes(result.get()), PixelBytes(four.get()));
  const RGBQUAD turned = PaletteAt(result.get(), 0);
  EXPECT_EQ((std::vector<int>{turned.rgbBlue, turned.rgbGreen, turned.rgbRed, turned.rgbReserved}),
            (std::vector<int>{0, 255, 0, 9}))
      << "fourth byte kept";
}

int abortQueries = 0;
int WINAPI CountAbortQueries() { return ++abortQueries, 0; }

TEST_F(HueSaturationTest, PaletteImagesAskAtByteIndicesOnly) {
  // 4000 pixel bytes: before bytes 0, 256, 1024, 1280, 2048, 2304, 3072 and 3328.
  SetFxAbortHook(1, CountAbortQueries);
  abortQueries = 0;
  ScopedDib source(MakePaletteDib(4, 1000, 8, std::vector<RGBQUAD>(3), [](int, int) { return uint8_t{1}; }));
  const HueSaturationParams params{10, 0};
  ScopedDib result(HueSaturation(source.get(), &params));
  ASSERT_TRUE(result);
  EXPECT_EQ(abortQueries, 9) << "one discarded query, then eight";
  EXPECT_EQ(progress(), (std::vector<int>{0, 6, 25, 32, 51, 57, 76, 83, 100}));
}

}  // namespace
