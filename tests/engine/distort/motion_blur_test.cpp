#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using MotionBlurTest = EngineTest;

int Blurred(HGLOBAL dib, int direction, int speed, int x, int row) {
  const MotionBlurParams params{direction, speed};
  ScopedDib result(MotionBlur(dib, &params));
  return result ? ByteAt(result.get(), x, row) : -1;
}

TEST_F(MotionBlurTest, RefusesParametersOutOfRange) {
  ScopedDib source(MakeGreyDib(8, 8, [](int x, int) { return uint8_t(x); }));
  for (auto [direction, speed] : {std::pair{1, 1}, {1, 33}, {0, 5}, {9, 5}}) {
    EXPECT_EQ(Blurred(source.get(), direction, speed, 0, 0), -1) << direction << " " << speed;
  }
}

TEST_F(MotionBlurTest, AxisLinesRepeatTheEdgePixel) {
  // 6 x 5, speed 10: n = 5. Every column holds 10, 20, 40, 80, 160 from stored row 0 up.
  const int column[5] = {10, 20, 40, 80, 160};
  ScopedDib source(MakeGreyDib(6, 5, [&](int, int y) { return uint8_t(column[y]); }));
  const int down[5] = {10, 12, 18, 32, 62};    // direction 2: (160 + 80 + 40 + 20 + 10) / 5 on top
  const int up[5] = {62, 92, 120, 144, 160};   // direction 7: (20 + 40 + 80 + 160 + 160) / 5 on row 1
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(Blurred(source.get(), 2, 10, 3, y), down[y]) << y;
    EXPECT_EQ(Blurred(source.get(), 7, 10, 3, y), up[y]) << y;
  }
}

TEST_F(MotionBlurTest, RowsAndDiagonalsOnWorkedPixels) {
  // 5 x 3, speed 3: n = 3. Stored row 0 is 200, row 2 is 7, row 1 holds 0, 30, 60, 90, 120.
  ScopedDib source(MakeGreyDib(5, 3, [](int x, int y) { return uint8_t(y == 0 ? 200 : y == 2 ? 7 : 30 * x); }));
  struct Case {
    int direction, x, row, expected;
  };
  const Case cases[] = {
      {4, 0, 1, 30},   {4, 3, 1, 110},  {4, 4, 1, 120},  // (90 + 120 + 120) / 3 near the right edge
      {5, 0, 1, 0},    {5, 1, 1, 10},   {5, 4, 1, 90},
      {1, 3, 1, 145},  // two samples: (3, 1) and (4, 0)
      {1, 0, 1, 100},  {1, 4, 1, 120},  {1, 2, 0, 200},  // last column and row 0: the pixel itself
      {3, 2, 1, 130},  {6, 0, 1, 3},    {8, 4, 1, 63},    {8, 0, 2, 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Blurred(source.get(), c.direction, 3, c.x, c.row), c.expected)
        << c.direction << " " << c.x << "," << c.row;
  }
}

TEST_F(MotionBlurTest, NarrowAndUniformImagesStayAsTheyWere) {
  ScopedDib narrow(MakeRgbDib(1, 9, [](int, int y) { return Bgr{uint8_t(y * 9), uint8_t(255 - y), 3}; }));
  ScopedDib uniform(MakeRgbDib(13, 10, [](int, int) { return Bgr{17, 99, 201}; }));
  for (HGLOBAL dib : {narrow.get(), uniform.get()}) {
    for (int direction = 1; direction <= 8; ++direction) {
      const MotionBlurParams params{direction, 32};
      ScopedDib result(MotionBlur(dib, &params));
      ASSERT_TRUE(result);
      EXPECT_EQ(BlockBytes(result.get()), BlockBytes(dib)) << direction;
    }
  }
}

}  // namespace
