#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using ToneAdjustmentTest = EngineTest;

TEST_F(ToneAdjustmentTest, CurveAtWorkedValues) {
  struct Case {
    int highlight, midtone, shadow, level, expected;
  };
  const Case cases[] = {
      {0, 0, 0, 77, 77},                                             // gamma 1, range 255
      {0, 100, 0, 128, 175},                                         // gamma 0.55
      {0, -100, 0, 128, 11},                                         // gamma 4.5
      {0, 0, -50, 50, 0},   {0, 0, -50, 51, 1}, {0, 0, -50, 52, 2},  // range 205
      {50, 0, 0, 205, 255}, {50, 0, 0, 204, 254},                    // 204 / 205 x 255 + 0.5
      {0, 0, 40, 1, 41},    {0, 0, 40, 0, 0},                        // output starts 40 up
      {-200, 0, 60, 100, 60},                                        // no room left: outLow
  };
  ScopedDib source(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  for (const Case& c : cases) {
    const ToneAdjustmentParams params{c.highlight, c.midtone, c.shadow, CHANNEL_ALL};
    ScopedDib result(ToneAdjustment(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), c.level, 0), c.expected)
        << "h " << c.highlight << " m " << c.midtone << " s " << c.shadow << " level " << c.level;
  }
}

TEST_F(ToneAdjustmentTest, TheChannelGoesToEffectThree) {
  ScopedDib source(MakeRgbDib(3, 1, [](int x, int) { return Bgr{uint8_t(x), 91, 250}; }));
  const ToneAdjustmentParams blueOnly{0, 0, 40, CHANNEL_BLUE};
  ScopedDib blue(ToneAdjustment(source.get(), &blueOnly));
  ASSERT_TRUE(blue);
  EXPECT_EQ(RgbAt(blue.get(), 2, 0), (Bgr{42, 91, 250}));  // 2 / 255 x 215 + 0.5 = 2, + 40
  const ToneAdjustmentParams badChannel{0, 0, 0, 4};
  EXPECT_EQ(ToneAdjustment(source.get(), &badChannel), nullptr) << "effect 3 refuses the channel";
  EXPECT_EQ(ToneAdjustment(source.get(), nullptr), nullptr);
}

}  // namespace
