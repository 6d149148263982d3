#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using SolarizeLogCurveTest = EngineTest;

TEST_F(SolarizeLogCurveTest, WorkedLevels) {
  struct Case {
    HGLOBAL (*effect)(HGLOBAL);
    int level, expected;
  };
  const Case cases[] = {
      {Solarize, 127, 127}, {Solarize, 128, 127}, {Solarize, 200, 55}, {Solarize, 255, 0},
      {LogCurve, 0, 0},     {LogCurve, 1, 32},    {LogCurve, 15, 128},  // ln 16 / ln 256 = 1/2
      {LogCurve, 127, 223}, {LogCurve, 255, 255},
  };
  ScopedDib source(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  for (const Case& c : cases) {
    ScopedDib result(c.effect(source.get()));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), c.level, 0), c.expected) << (c.effect == Solarize ? "solarise " : "log ") << c.level;
  }
}

TEST_F(SolarizeLogCurveTest, PaletteOnlyOnFourBitAndRefusedOnOneBit) {
  const std::vector<RGBQUAD> palette = {{1, 128, 200, 6}, {0, 0, 0, 7}};
  ScopedDib four(MakePaletteDib(3, 2, 4, palette, [](int x, int) { return uint8_t(x % 2); }));
  ScopedDib result(Solarize(four.get()));
  ASSERT_TRUE(result);
  EXPECT_EQ(PixelBytes(result.get()), PixelBytes(four.get()));
  const RGBQUAD q = PaletteAt(result.get(), 0);
  EXPECT_EQ((std::vector<int>{q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved}), (std::vector<int>{1, 127, 55, 6}));

  ScopedDib bilevel(MakePaletteDib(8, 1, 1, palette, [](int x, int) { return uint8_t(x & 1); }));
  EXPECT_EQ(Solarize(bilevel.get()), nullptr);
  EXPECT_EQ(LogCurve(bilevel.get()), nullptr);
}

int abortQueries = 0;
int WINAPI AbortOnThirdQuery() { return ++abortQueries == 3; }

TEST_F(SolarizeLogCurveTest, AnAbortWhileTheLogTableIsBuiltStopsBeforeAnyRow) {
  // Query 1 is discarded; queries 2 and 3 come before table entries 0 and 1.
  SetFxAbortHook(1, AbortOnThirdQuery);
  abortQueries = 0;
  ScopedDib source(MakeRgbDib(2, 40, [](int, int) { return Bgr{1, 2, 3}; }));
  EXPECT_EQ(LogCurve(source.get()), nullptr);
  EXPECT_EQ(abortQueries, 3);
  EXPECT_EQ(progress(), std::vector<int>{100});
}

}  // namespace
