#include "engine/filters/filters.h"

#include <climits>
#include <functional>

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// A kernel with the given (displayed index, weight) cells, the others 0.
UserFilterParams Kernel(int scale, int bias, std::initializer_list<std::pair<int, int>> cells) {
  UserFilterParams p{scale, bias, 0, {}};
  for (const auto& [index, weight] : cells) p.kernel[index] = weight;
  return p;
}

using UserFilterTest = EngineTest;

TEST_F(UserFilterTest, KernelAsShownInTheDialogAndHalfwayRounding) {
  // 3 x 5 grey, level 10 x stored row + column; stored row 4 is the top of the picture.
  const auto level = [](int x, int y) { return 10 * std::clamp(y, 0, 4) + std::clamp(x, 0, 2); };
  ScopedDib source(MakeGreyDib(3, 5, [&](int x, int y) { return uint8_t(level(x, y)); }));
  const std::pair<UserFilterParams, std::function<int(int x, int y)>> cases[] = {
      // middle of the top row: two rows above in the picture, the top rows repeating
      {Kernel(1, 0, {{2, 1}}), [&](int x, int y) { return level(x, y + 2); }},
      {Kernel(1, 0, {{10, 1}}), [&](int x, int y) { return level(x - 2, y); }},
      // top and bottom rows alike but for their last weight
      {Kernel(1, 0, {{0, 1}, {20, 1}, {24, 1}}),
       [&](int x, int y) { return level(x - 2, y + 2) + level(x - 2, y - 2) + level(x + 2, y - 2); }},
      // a zero-sum kernel: the picture's upper neighbour against the centre, plus the bias
      {Kernel(1, 128, {{7, 1}, {12, -1}}), [&](int x, int y) { return 128 + level(x, y + 1) - level(x, y); }},
  };
  for (const auto& [params, expected] : cases) {
    ScopedDib result(UserFilter(source.get(), &params));
    ASSERT_TRUE(result);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 3; ++x) EXPECT_EQ(ByteAt(result.get(), x, y), expected(x, y)) << x << "," << y;
    }
  }
  // Flat images, the centre weight alone. Halfway sums: 0.5, 1.5 and 2.5 go up.
  const int flat[][5] = {
      // weight, scale, bias, level, expected
      {1, 2, 0, 1, 1}, {1, 2, 0, 3, 2}, {1, 2, 0, 5, 3}, {1, 2, 0, 4, 2},
      // entries v x 262144 / -2 + 0.5 truncate toward zero, one unit short of the half:
      // -0.5 and -1.5 come out as 0 and -1, while -2 stays -2
      {1, -2, 10, 1, 10}, {1, -2, 10, 3, 9}, {1, -2, 10, 4, 8},
      // 255 x 262144 x 32 = 2139095040 is level 8160, just inside 32-bit sums; with 33 the
      // sums take 64 bits: 240 x 262144 x 33 is level 7920, and 255's share is held at
      // INT32_MAX, level 8192
      {32, 1, -8000, 255, 160}, {-32, 1, 8200, 255, 40}, {33, 1, -7800, 240, 120}, {33, 1, -8100, 255, 92},
      // biases far past every level still clamp
      {-32, 1, INT32_MAX, 255, 255}, {32, 1, INT32_MIN, 255, 0}, {33, 1, INT32_MAX - 1, 0, 255},
  };
  for (const auto& [weight, scale, bias, in, expected] : flat) {
    ScopedDib image(MakeGreyDib(2, 2, [v = in](int, int) { return uint8_t(v); }));
    const UserFilterParams params = Kernel(scale, bias, {{12, weight}});
    ScopedDib result(UserFilter(image.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), 1, 1), expected) << weight << " " << scale << " " << in;
  }
}

}  // namespace
