#include "engine/distort/distort.h"

#include <random>

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using OilPaintingTest = EngineTest;

TEST_F(OilPaintingTest, OnePixelGivesItsBinForAnyIntensity) {
  ScopedDib single(MakeGreyDib(1, 1, [&](int, int) { return uint8_t{255}; }));
  for (int intensity : {0, -5, 1, 500}) EXPECT_EQ(ByteAt(ScopedDib(OilPainting(single.get(), intensity)).get(), 0, 0), 248) << intensity;
}

TEST_F(OilPaintingTest, SlidingWindowTakesTheLowestMostFrequentBin) {
  // r = 1, edges repeat. [0, 8, 80, 80, 160] (bins 0, 1, 10, 10, 20): column 1 sees bins 0, 1
  // and 10 once each and takes bin 0. [17, 9, 25]: column 1 sees bins 2, 1, 3 once each and
  // takes bin 1, the lowest, neither the first nor the last.
  const std::vector<int> cases[][2] = {{{0, 8, 80, 80, 160}, {0, 0, 80, 80, 160}}, {{17, 9, 25}, {16, 8, 24}}};
  for (const auto& [levels, expected] : cases) {
    const int n = int(levels.size());
    ScopedDib row(MakeGreyDib(n, 1, [&](int x, int) { return uint8_t(levels[x]); }));
    ScopedDib column(MakeGreyDib(1, n, [&](int, int y) { return uint8_t(levels[y]); }));
    ScopedDib across(OilPainting(row.get(), 1)), down(OilPainting(column.get(), 1));
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(ByteAt(across.get(), i, 0), expected[i]) << i;
      EXPECT_EQ(ByteAt(down.get(), 0, i), expected[i]) << i;
    }
  }
  // Colour: each channel its own histogram. At (2, 0) the window holds rows 0, 0, 0, 1, 2:
  // green 200, 193, 186 falls in bins 25 (15 times), 24 and 23; blue holds columns 0-4 of
  // bins 0, 3, 7, 10 or 11, and 14, a tie of 5 counts won by bin 0.
  ScopedDib rgb(MakeRgbDib(9, 6, [](int x, int y) { return Bgr{uint8_t(x * 29 + y), uint8_t(200 - y * 7), 3}; }));
  ScopedDib painted(OilPainting(rgb.get(), 2));
  for (uint8_t byte : PixelBytes(painted.get())) EXPECT_EQ(byte % 8, 0);
  EXPECT_EQ(RgbAt(painted.get(), 2, 0), (Bgr{0, 200, 0}));
}

// Every window counted afresh, against both ways the routine counts: column histograms, and
// the per-pixel column walk it keeps to when they cannot be made (the fifth block of the run).
TEST_F(OilPaintingTest, SameAsCountingEveryWindowAfresh) {
  std::mt19937 random(99);
  const std::tuple<int, int, bool, std::vector<int>> shapes[] = {
      {1, 1, false, {1, 100}}, {1, 13, true, {2, 100}}, {11, 1, false, {3, 100}}, {9, 7, true, {1, 2, 5}},
      {17, 12, false, {4, 30}},
  };
  for (const auto& [w, h, rgb, radii] : shapes) {
    // Few distinct levels, so that ties between bins are common.
    const auto level = [&random](int, int) { return uint8_t(random() % 6 * 45 + random() % 9); };
    ScopedDib dib(rgb ? MakeRgbDib(w, h, [&](int x, int y) { return Bgr{level(x, y), level(x, y), level(x, y)}; })
                      : MakeGreyDib(w, h, level));
    const int channels = rgb ? 3 : 1, stride = (w * channels + 3) & ~3;
    const std::vector<uint8_t> px = PixelBytes(dib.get());
    for (int r : radii) {
      std::vector<uint8_t> expected = px;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          for (int c = 0; c < channels; ++c) {
            int counts[32] = {};
            for (int i = -r; i <= r; ++i) {
              for (int j = -r; j <= r; ++j) {
                ++counts[px[std::clamp(y + i, 0, h - 1) * stride + std::clamp(x + j, 0, w - 1) * channels + c] / 8];
              }
            }
            expected[y * stride + x * channels + c] = uint8_t(8 * (std::max_element(counts, counts + 32) - counts));
          }
        }
      }
      for (int failing : {0, 5}) {
        PlatformFailAllocation(failing);
        ScopedDib painted(OilPainting(dib.get(), r));
        PlatformFailAllocation(0);
        ASSERT_TRUE(painted);
        EXPECT_EQ(PixelBytes(painted.get()), expected) << w << "x" << h << " r " << r << " failing " << failing;
      }
    }
  }
}

}  // namespace
