#include "engine/filters/filters.h"

#include <numeric>

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using BlurTest = EngineTest;

TEST_F(BlurTest, WorkedLinesInBothPasses) {
  const FilterSizeParams two{2, 0}, three{3, 0};
  const SoftenParams soften{2, 2};
  struct Case {
    HGLOBAL (*routine)(HGLOBAL, const void*);
    const void* record;
    std::vector<uint8_t> in, expected;
  };
  const Case cases[] = {
      // even window: the sample and the one before it, halves rounded up; the first repeats
      {AverageBlur, &two, {10, 20, 31, 0}, {10, 15, 26, 16}},
      // centre weight 825215 - 1: (524288 + 825214 x 255) >> 20 = 201; sides 111681 give 27
      {GaussianBlur, &three, {0, 0, 255, 0, 0}, {0, 27, 201, 27, 0}},
      // box sums 20 and 30, then (sum + 2 x source + 2) / 4
      {SoftenedBlur, &soften, {10, 20}, {10, 18}},
  };
  for (const Case& c : cases) {
    // As one row only the horizontal pass acts, as one column only the vertical one.
    const int length = int(c.in.size());
    ScopedDib row(MakeGreyDib(length, 1, [&](int x, int) { return c.in[x]; }));
    ScopedDib column(MakeGreyDib(1, length, [&](int, int y) { return c.in[y]; }));
    ScopedDib rowResult(c.routine(row.get(), c.record)), columnResult(c.routine(column.get(), c.record));
    ASSERT_TRUE(rowResult && columnResult);
    for (int i = 0; i < length; ++i) {
      EXPECT_EQ(ByteAt(rowResult.get(), i, 0), c.expected[i]) << i;
      EXPECT_EQ(ByteAt(columnResult.get(), 0, i), c.expected[i]) << i;
    }
  }
}

TEST_F(BlurTest, GaussianWeightsAfterCorrection) {
  const std::vector<std::vector<int32_t>> cases = {
      {124993, 923583},                        // d = 0
      {111681, 825214, 111681},                // d = 1: the centre lowered
      {60428, 270821, 446507, 270820},         // d = -1: index (4 - 1) / 2 = 1 raised
      {57136, 256063, 422177, 256064, 57136},  // d = 2: indices 1 and 2 lowered
  };
  for (const auto& expected : cases) {
    std::vector<int32_t> weights(expected.size());
    GaussianWeights(int(weights.size()), weights.data());
    EXPECT_EQ(weights, expected);
  }
  for (int n = 2; n <= 32; ++n) {
    std::vector<int32_t> weights(n);
    GaussianWeights(n, weights.data());
    EXPECT_EQ(std::accumulate(weights.begin(), weights.end(), int64_t{0}), 1 << 20) << n;
  }
}

}  // namespace
