#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using RankTest = EngineTest;

TEST_F(RankTest, MedianHoldsItsDefinitionAfterEverySlide) {
  struct Case {
    int n;
    std::vector<std::vector<uint8_t>> rows;  // stored rows, bottom first
    std::vector<uint8_t> expected;           // of stored row 1
  };
  const Case cases[] = {
      // n = 2, t = 2 of 4: window 10, 5, 20, 20 (median 10) slides to 5, 3, 20, 20 with the
      // excess exactly 0 and level 10 emptied: the median is 5
      {2, {{20, 20, 20}, {10, 5, 3}}, {10, 10, 5}},
      // n = 3, t = 5: after windows of median 20, one with five 10s and four 20s gives 10
      {3, {{20, 20, 10, 10, 20}, {20, 20, 10, 10, 20}, {20, 20, 10, 20, 20}}, {20, 20, 10, 10, 20}},
  };
  for (const Case& c : cases) {
    const int width = int(c.rows[0].size()), height = int(c.rows.size());
    const auto level = [&](int x, int y) { return c.rows[y][x]; };
    // The grey image, and the same levels in the green channel between flat blue and red.
    ScopedDib grey(MakeGreyDib(width, height, level));
    ScopedDib rgb(MakeRgbDib(width, height, [&](int x, int y) { return Bgr{7, level(x, y), 99}; }));
    const FilterSizeParams params{c.n, 0};
    ScopedDib greyResult(Median(grey.get(), &params)), rgbResult(Median(rgb.get(), &params));
    ASSERT_TRUE(greyResult && rgbResult);
    for (int x = 0; x < width; ++x) {
      EXPECT_EQ(ByteAt(greyResult.get(), x, 1), c.expected[x]) << c.n << " " << x;
      EXPECT_EQ(RgbAt(rgbResult.get(), x, 1), (Bgr{7, c.expected[x], 99})) << c.n << " " << x;
    }
  }
}

TEST_F(RankTest, MaximumAndMinimumAlongRowsAndColumns) {
  const std::vector<uint8_t> levels{5, 9, 3, 7};
  struct Case {
    int maximum;
    std::vector<uint8_t> expected;  // n = 3: windows p - 1 ... p + 1, clamped
  };
  const Case cases[] = {{1, {9, 9, 9, 7}}, {-1, {9, 9, 9, 7}}, {0, {5, 3, 3, 3}}};
  ScopedDib row(MakeGreyDib(4, 1, [&](int x, int) { return levels[x]; }));
  ScopedDib column(MakeGreyDib(1, 4, [&](int, int y) { return levels[y]; }));
  for (const Case& c : cases) {
    const FilterSizeParams params{3, c.maximum};
    ScopedDib rowResult(MaximumMinimum(row.get(), &params)), columnResult(MaximumMinimum(column.get(), &params));
    ASSERT_TRUE(rowResult && columnResult);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(ByteAt(rowResult.get(), i, 0), c.expected[i]) << c.maximum;
      EXPECT_EQ(ByteAt(columnResult.get(), 0, i), c.expected[i]) << c.maximum;
    }
  }
}

}  // namespace
