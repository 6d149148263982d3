#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using RankTest = EngineTest;

TEST_F(RankTest, MedianHoldsItsDefinitionAfterEverySlideAndMaximumMinimum) {
  // Stored rows bottom first, then the expected stored row 1.
  const std::tuple<int, std::vector<std::vector<uint8_t>>, std::vector<uint8_t>> cases[] = {
      // n = 2, t = 2 of 4: window 10, 5, 20, 20 (median 10) slides to 5, 3, 20, 20 with the
      // excess exactly 0 and level 10 emptied: the median is 5
      {2, {{20, 20, 20}, {10, 5, 3}}, {10, 10, 5}},
      // n = 3, t = 5: after windows of median 20, one with five 10s and four 20s gives 10
      {3, {{20, 20, 10, 10, 20}, {20, 20, 10, 10, 20}, {20, 20, 10, 20, 20}}, {20, 20, 10, 10, 20}},
  };
  for (const auto& [n, rows, expected] : cases) {
    // The levels in the green channel, between flat blue and red.
    const int width = int(rows[0].size());
    ScopedDib rgb(MakeRgbDib(width, int(rows.size()), [&r = rows](int x, int y) { return Bgr{7, r[y][x], 99}; }));
    const FilterSizeParams params{n, 0};
    ScopedDib result(Median(rgb.get(), &params));
    ASSERT_TRUE(result);
    for (int x = 0; x < width; ++x) EXPECT_EQ(RgbAt(result.get(), x, 1), (Bgr{7, expected[x], 99})) << n << " " << x;
  }
  // Maximum for any nonzero flag, else minimum: 5, 9, 3, 7 with n = 3, windows p - 1 ... p + 1 clamped.
  ScopedDib row(MakeGreyDib(4, 1, [](int x, int) { return uint8_t(x == 0 ? 5 : x == 1 ? 9 : x == 2 ? 3 : 7); }));
  using Levels = std::vector<uint8_t>;
  for (auto [maximum, expected] : {std::pair{1, Levels{9, 9, 9, 7}}, {-1, {9, 9, 9, 7}}, {0, {5, 3, 3, 3}}}) {
    const FilterSizeParams params{3, maximum};
    ScopedDib result(MaximumMinimum(row.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(PixelBytes(result.get()), expected) << maximum;
  }
}

}  // namespace
