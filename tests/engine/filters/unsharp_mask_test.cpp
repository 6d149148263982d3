#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using UnsharpMaskTest = EngineTest;

TEST_F(UnsharpMaskTest, AddsTheRoundedPercentageOfTheDifference) {
  // One row, n = 2: blurred values 10, 20, 30, 140, 125 (mean with the sample before).
  ScopedDib source(MakeGreyDib(5, 1, [](int x, int) { return std::vector<uint8_t>{10, 30, 30, 250, 0}[x]; }));
  const std::pair<UnsharpMaskParams, std::vector<uint8_t>> cases[] = {
      {{2, 50, 0}, {10, 35, 30, 255, 0, 0, 0, 0}},    // 50 %: d = 10 -> (50 + 500) / 100 = 5; d = 110 -> 55
      {{2, 50, 111}, {10, 30, 30, 250, 0, 0, 0, 0}},  // threshold 111: d = 10 and 110 are left alone
      {{2, 1, 0}, {10, 30, 30, 251, 0, 0, 0, 0}},     // d = 110: (50 + 110) / 100 = 1
  };
  for (const auto& [params, expected] : cases) {
    ScopedDib result(UnsharpMask(source.get(), &params));
    ASSERT_TRUE(result) << params.effect;
    EXPECT_EQ(PixelBytes(result.get()), expected) << params.effect << " " << params.threshold;
  }
}

}  // namespace
