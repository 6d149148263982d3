#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using SmoothSharpenTest = EngineTest;

TEST_F(SmoothSharpenTest, SmoothingReplacesOnlyFlatNeighbourhoodsAndOneAxisSharpening) {
  // A single 200 in black: its gradients are 0, so it becomes (200 + 4) / 9 = 22; each
  // neighbour sees |gx| + |gy| = 400 and keeps its 0 instead of taking the mean 22.
  ScopedDib source(MakeRgbDib(5, 5, [](int x, int y) { return Bgr{uint8_t(x == 2 && y == 2 ? 200 : 0), 0, 0}; }));
  ScopedDib smoothed(EdgePreservingSmooth(source.get()));
  ASSERT_TRUE(smoothed);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(RgbAt(smoothed.get(), x, y).b, x == 2 && y == 2 ? 22 : 0) << x << "," << y;
  }
  // One-axis sharpening of 100, 100, 200, 100, 100 along the row or the column. 200:
  // min(255, 600 / 2); 100: 100 / 2; the ends stand in for their missing neighbours.
  const std::vector<uint8_t> levels{100, 100, 200, 100, 100}, sharpened{100, 50, 255, 50, 100};
  ScopedDib row(MakeGreyDib(5, 1, [&](int x, int) { return levels[x]; }));
  ScopedDib column(MakeGreyDib(1, 5, [&](int, int y) { return levels[y]; }));
  for (auto [vertical, changes] : {std::pair{0, true}, {5, false}}) {
    const AxisSharpenParams params{vertical};
    ScopedDib rowResult(AxisSharpen(row.get(), &params)), columnResult(AxisSharpen(column.get(), &params));
    ASSERT_TRUE(rowResult && columnResult);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(ByteAt(rowResult.get(), i, 0), changes ? sharpened[i] : levels[i]) << vertical << " " << i;
      EXPECT_EQ(ByteAt(columnResult.get(), 0, i), changes ? levels[i] : sharpened[i]) << vertical << " " << i;
    }
  }
}

}  // namespace
