#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using MotionBlurTest = EngineTest;

TEST_F(MotionBlurTest, WorkedPixelsAndRefusals) {
  // 5 x 3: stored row 0 is 200, row 2 is 7, row 1 holds 0, 30, 60, 90, 120. Speed 10 gives
  // n = 3, the height.
  ScopedDib source(MakeGreyDib(5, 3, [](int x, int y) { return uint8_t(y == 0 ? 200 : y == 2 ? 7 : 30 * x); }));
  const int cases[][5] = {
      // direction, speed, x, row, expected
      {4, 3, 0, 1, 30},  {4, 3, 4, 1, 120}, {5, 3, 1, 1, 10},  // (90 + 120 + 120) / 3: the edge repeats
      {2, 10, 1, 2, 79}, {2, 10, 1, 1, 143}, {7, 10, 1, 1, 14},  // (30 + 200 + 200) / 3, (30 + 7 + 7) / 3
      {1, 3, 3, 1, 145},  // diagonals stop at the border: two samples, (3, 1) and (4, 0)
      {1, 3, 4, 1, 120},  {1, 3, 2, 0, 200},  {3, 3, 2, 1, 130},  // last column and row 0: the pixel itself
      {6, 3, 0, 1, 3},    {8, 3, 4, 1, 63},   {8, 3, 0, 2, 7},
      {1, 1, 0, 0, -1},   {1, 33, 0, 0, -1},  {0, 5, 0, 0, -1},    {9, 5, 0, 0, -1},  // refused
  };
  for (const auto& [direction, speed, x, row, expected] : cases) {
    const MotionBlurParams params{direction, speed};
    ScopedDib result(MotionBlur(source.get(), &params));
    EXPECT_EQ(result ? ByteAt(result.get(), x, row) : -1, expected)
        << direction << "," << speed << " at " << x << "," << row;
  }
}

// Diagonal rows add whole shifted rows where the lines are full length; when their working rows
// cannot be made (the second block of the run) every line is summed alone: the same picture.
TEST_F(MotionBlurTest, DiagonalRowsEqualLineByLineSums) {
  for (auto [w, h] : {std::pair{37, 23}, {5, 40}, {40, 3}}) {
    ScopedDib rgb(MakeRgbDib(w, h, [](int x, int y) { return Bgr{uint8_t(x * 37 + y), uint8_t(y * 53 ^ x), uint8_t(x * y * 7)}; }));
    for (int direction : {1, 3, 6, 8}) {
      for (int speed : {2, 7, 32}) {
        const MotionBlurParams params{direction, speed};
        ScopedDib rows(MotionBlur(rgb.get(), &params));
        PlatformFailAllocation(2);
        ScopedDib lines(MotionBlur(rgb.get(), &params));
        PlatformFailAllocation(0);
        ASSERT_TRUE(rows && lines);
        EXPECT_EQ(PixelBytes(rows.get()), PixelBytes(lines.get())) << w << "x" << h << " " << direction << " " << speed;
      }
    }
  }
}

}  // namespace
