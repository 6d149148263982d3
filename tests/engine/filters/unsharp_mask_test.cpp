#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using UnsharpMaskTest = EngineTest;

TEST_F(UnsharpMaskTest, AddsTheRoundedPercentageOfTheDifference) {
  // One row, n = 2: blurred values 10, 20, 30, 140, 125 (mean with the sample before).
  const std::vector<uint8_t> levels{10, 30, 30, 250, 0};
  struct Case {
    int effect, threshold;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      // 100 %: 10 above the blur rises by 10 more; clamped at 255 and 0
      {100, 0, {10, 40, 30, 255, 0}},
      // 50 %: d = 10 -> (50 + 500) / 100 = 5; d = 110 -> 55; d = -125 -> -63
      {50, 0, {10, 35, 30, 255, 0}},
      // threshold 111: d = 10 and 110 are left alone, d = -125 -> -63
      {50, 111, {10, 30, 30, 250, 0}},
      {1, 0, {10, 30, 30, 251, 0}},  // d = 110: (50 + 110) / 100 = 1
  };
  ScopedDib source(MakeGreyDib(5, 1, [&](int x, int) { return levels[x]; }));
  for (const Case& c : cases) {
    const UnsharpMaskParams params{2, c.effect, c.threshold};
    ScopedDib result(UnsharpMask(source.get(), &params));
    ASSERT_TRUE(result) << c.effect;
    for (int x = 0; x < 5; ++x) EXPECT_EQ(ByteAt(result.get(), x, 0), c.expected[x]) << c.effect << " x " << x;
  }
}

}  // namespace
