#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using SolarizeLogCurveTest = EngineTest;

TEST_F(SolarizeLogCurveTest, WorkedLevelsAndOneBitImagesRefused) {
  ScopedDib ramp(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  ScopedDib solarized(Solarize(ramp.get())), logged(LogCurve(ramp.get()));
  ASSERT_TRUE(solarized && logged);
  for (auto [level, expected] : {std::pair{127, 127}, {128, 127}, {200, 55}, {255, 0}}) {
    EXPECT_EQ(ByteAt(solarized.get(), level, 0), expected) << level;
  }
  for (auto [level, expected] : {std::pair{1, 32}, {15, 128}, {127, 223}, {255, 255}}) {  // ln 16 / ln 256 = 1/2
    EXPECT_EQ(ByteAt(logged.get(), level, 0), expected) << level;
  }
  // 4-bit palettes go through the table too, fourth bytes kept; 1-bit images are refused.
  ScopedDib four(MakePaletteDib(3, 2, 4, {{1, 128, 200, 6}}, [](int, int) { return uint8_t{0}; }));
  ScopedDib result(Solarize(four.get()));
  ASSERT_TRUE(result);
  EXPECT_EQ(PaletteAt(result.get(), 0).rgbRed, 55);
  EXPECT_EQ(PaletteAt(result.get(), 0).rgbReserved, 6);
  ScopedDib bilevel(MakePaletteDib(8, 1, 1, std::vector<RGBQUAD>(2), [](int x, int) { return uint8_t(x & 1); }));
  EXPECT_EQ(Solarize(bilevel.get()), nullptr);
  EXPECT_EQ(LogCurve(bilevel.get()), nullptr);
}

}  // namespace
