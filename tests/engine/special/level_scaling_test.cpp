#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using LevelScalingTest = EngineTest;

TEST_F(LevelScalingTest, ScalesByTheFactor) {
  struct Case {
    int p, level, expected;
  };
  const Case cases[] = {
      {128, 64, 128}, {128, 200, 255}, {128, 1, 2},  // (64 + 255) / 128 = 2
      {0, 255, 0},    {-128, 200, 100},              // (127 + 25600) / 255
      {255, 77, 77},  {-255, 77, 77},
  };
  ScopedDib source(MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); }));
  for (const Case& c : cases) {
    ScopedDib result(LevelScaling(source.get(), c.p));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), c.level, 0), c.expected) << "p " << c.p << " level " << c.level;
  }
}

TEST_F(LevelScalingTest, LeavesTheCursorAloneAndRefusesPaletteImages) {
  ScopedDib rgb(MakeRgbDib(5, 3, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(60 * y), 250}; }));
  SetCursor(Stock(IDC_CROSS));
  ScopedDib same(LevelScaling(rgb.get(), -255));
  ASSERT_TRUE(same);
  EXPECT_EQ(BlockBytes(same.get()), BlockBytes(rgb.get()));
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));
  EXPECT_EQ(progress(), (std::vector<int>{0, 100}));

  ScopedDib eight(MakePaletteDib(4, 2, 8, std::vector<RGBQUAD>(256), [](int x, int) { return uint8_t(x); }));
  EXPECT_EQ(LevelScaling(eight.get(), 128), nullptr);
}

}  // namespace
