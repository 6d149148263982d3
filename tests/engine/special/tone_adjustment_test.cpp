#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using ToneAdjustmentTest = EngineTest;

TEST_F(ToneAdjustmentTest, CurveAtWorkedValuesGoesToEffectThree) {
  const int cases[][5] = {
      // highlight, midtone, shadow, level, expected
      {0, 100, 0, 128, 175}, {0, -100, 0, 128, 11},  // gamma 0.55 and 4.5, range 255
      {0, 0, -50, 51, 1},    {50, 0, 0, 204, 254},   // range 205: 1 / 205 and 204 / 205 x 255 + 0.5
      {0, 0, 40, 1, 41},     {0, 0, 40, 0, 0},       // output starts 40 up, level 0 stays 0
      {-200, 0, 60, 100, 60},                        // no room left: outLow
  };
  ScopedDib ramp(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  for (const auto& [highlight, midtone, shadow, level, expected] : cases) {
    const ToneAdjustmentParams params{highlight, midtone, shadow, CHANNEL_ALL};
    ScopedDib result(ToneAdjustment(ramp.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), level, 0), expected)
        << "h " << highlight << " m " << midtone << " s " << shadow << " level " << level;
  }
  // The channel is effect 3's: blue alone (2 / 255 x 215 + 0.5 = 2, + 40), or refused.
  ScopedDib rgb(MakeRgbDib(1, 1, [](int, int) { return Bgr{2, 91, 250}; }));
  const ToneAdjustmentParams blueOnly{0, 0, 40, CHANNEL_BLUE}, badChannel{0, 0, 0, 4};
  ScopedDib blue(ToneAdjustment(rgb.get(), &blueOnly));
  ASSERT_TRUE(blue);
  EXPECT_EQ(RgbAt(blue.get(), 0, 0), (Bgr{42, 91, 250}));
  EXPECT_EQ(ToneAdjustment(rgb.get(), &badChannel), nullptr);
}

}  // namespace
