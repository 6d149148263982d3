#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using SmoothSharpenTest = EngineTest;

TEST_F(SmoothSharpenTest, SmoothingReplacesOnlyFlatNeighbourhoods) {
  // A single 200 in black: its gradients are 0, so it becomes (200 + 4) / 9 = 22; each
  // neighbour sees |gx| + |gy| = 400 and keeps its 0 instead of taking the mean 22.
  ScopedDib source(MakeRgbDib(5, 5, [](int x, int y) { return Bgr{uint8_t(x == 2 && y == 2 ? 200 : 0), 0, 0}; }));
  ScopedDib result(EdgePreservingSmooth(source.get()));
  ASSERT_TRUE(result);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(RgbAt(result.get(), x, y).b, x == 2 && y == 2 ? 22 : 0) << x << "," << y;
  }
}

TEST_F(SmoothSharpenTest, OneAxisSharpening) {
  const std::vector<uint8_t> levels{100, 100, 200, 100, 100};
  const std::vector<uint8_t> sharpened{100, 50, 255, 50, 100};  // 200: min(255, 600 / 2); 100: 100 / 2
  ScopedDib row(MakeGreyDib(5, 1, [&](int x, int) { return levels[x]; }));
  ScopedDib column(MakeGreyDib(1, 5, [&](int, int y) { return levels[y]; }));
  struct Case {
    HGLOBAL source;
    int vertical;
    bool changes;
  };
  const Case cases[] = {{row.get(), 0, true}, {column.get(), 5, true}, {column.get(), 0, false}, {row.get(), 1, false}};
  for (const Case& c : cases) {
    const AxisSharpenParams params{c.vertical};
    ScopedDib result(AxisSharpen(c.source, &params));
    ASSERT_TRUE(result);
    for (int i = 0; i < 5; ++i) {
      const uint8_t got = c.source == row.get() ? ByteAt(result.get(), i, 0) : ByteAt(result.get(), 0, i);
      EXPECT_EQ(got, c.changes ? sharpened[i] : levels[i]) << c.vertical << " " << i;
    }
  }
}

}  // namespace
