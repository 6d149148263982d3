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

TEST_F(UnsharpMaskTest, EveryStrengthCorrectsRisingAndFallingDifferences) {
  // n = 2 along one row of 0, 74, 200, 126 repeated (wide enough for sixteen at a time): the
  // blurred values 63 (0 at the start), 37, 137, 163 give differences -63, 37, 63 and -37.
  const uint8_t levels[] = {0, 74, 200, 126};
  ScopedDib source(MakeGreyDib(20, 1, [&levels](int x, int) { return levels[x % 4]; }));
  for (int32_t effect = 1; effect <= 500; ++effect) {
    const auto percent = [effect](int d) { return (50 + d * effect) / 100; };
    const uint8_t period[] = {0, uint8_t(std::min(255, 74 + percent(37))), uint8_t(std::min(255, 200 + percent(63))),
                              uint8_t(std::max(0, 126 - percent(37)))};
    std::vector<uint8_t> expected;
    for (int x = 0; x < 20; ++x) expected.push_back(period[x % 4]);
    const UnsharpMaskParams params{2, effect, 0};
    ScopedDib result(UnsharpMask(source.get(), &params));
    ASSERT_TRUE(result) << effect;
    EXPECT_EQ(PixelBytes(result.get()), expected) << effect;
  }
}

}  // namespace
