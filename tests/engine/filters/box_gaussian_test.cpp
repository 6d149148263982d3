#include "engine/filters/filters.h"

#include <numeric>

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using BlurTest = EngineTest;

TEST_F(BlurTest, WorkedLinesInBothPassesAndGaussianWeightsSumTo2To20) {
  const FilterSizeParams two{2, 0}, three{3, 0};
  const SoftenParams soften{2, 2};
  using Levels = std::vector<uint8_t>;
  const std::tuple<HGLOBAL (*)(HGLOBAL, const void*), const void*, Levels, Levels> cases[] = {
      // even window: the sample and the one before it, halves rounded up; the first repeats
      {AverageBlur, &two, {10, 20, 31, 0}, {10, 15, 26, 16}},
      // centre weight 825215 - 1: (524288 + 825214 x 255) >> 20 = 201; sides 111681 give 27
      {GaussianBlur, &three, {0, 0, 255, 0, 0}, {0, 27, 201, 27, 0}},
      // box sums 20 and 30, then (sum + 2 x source + 2) / 4
      {SoftenedBlur, &soften, {10, 20}, {10, 18}},
  };
  for (const auto& [routine, record, in, expected] : cases) {
    // As one row only the horizontal pass acts, as one column only the vertical one.
    const int length = int(in.size());
    ScopedDib row(MakeGreyDib(length, 1, [&levels = in](int x, int) { return levels[x]; }));
    ScopedDib column(MakeGreyDib(1, length, [&levels = in](int, int y) { return levels[y]; }));
    ScopedDib rowResult(routine(row.get(), record)), columnResult(routine(column.get(), record));
    ASSERT_TRUE(rowResult && columnResult);
    for (int i = 0; i < length; ++i) {
      EXPECT_EQ(ByteAt(rowResult.get(), i, 0), expected[i]) << i;
      EXPECT_EQ(ByteAt(columnResult.get(), 0, i), expected[i]) << i;
    }
  }
  for (int n = 2; n <= 32; ++n) {
    std::vector<int32_t> weights(n);
    GaussianWeights(n, weights.data());
    EXPECT_EQ(std::accumulate(weights.begin(), weights.end(), int64_t{0}), 1 << 20) << n;
  }
}

}  // namespace
