#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using LevelScalingTest = EngineTest;

TEST_F(LevelScalingTest, ScalesByTheFactorWithoutTouchingTheCursor) {
  const int cases[][3] = {
      // p, level, expected
      {128, 64, 128}, {128, 200, 255}, {128, 1, 2},  // (64 + 255) / 128 = 2
      {0, 255, 0},    {-128, 200, 100},              // (127 + 25600) / 255
      {255, 77, 77},  {-255, 77, 77},
  };
  ScopedDib ramp(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  SetCursor(Stock(IDC_CROSS));
  for (const auto& [p, level, expected] : cases) {
    ScopedDib result(LevelScaling(ramp.get(), p));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), level, 0), expected) << "p " << p << " level " << level;
  }
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));
  ScopedDib eight(MakePaletteDib(4, 2, 8, std::vector<RGBQUAD>(256), [](int x, int) { return uint8_t(x); }));
  EXPECT_EQ(LevelScaling(eight.get(), 128), nullptr);
}

}  // namespace
