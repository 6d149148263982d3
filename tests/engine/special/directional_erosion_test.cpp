#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "image/dib.h"
#include "test_images.h"

namespace {

using DirectionalErosionTest = EngineTest;
using Rows = std::vector<std::vector<int>>;

// The result's rows, stored row 0 first; empty for a null result.
Rows Eroded(HGLOBAL source, int radius) {
  const DirectionalErosionParams params{radius};
  ScopedDib result(DirectionalErosion(source, &params));
  int width = 0, height = 0;
  Rows rows;
  if (!result || !GetDibSize(result.get(), &width, &height)) return rows;
  for (int y = 0; y < height; ++y) {
    rows.emplace_back();
    for (int x = 0; x < width; ++x) rows.back().push_back(ByteAt(result.get(), x, y));
  }
  return rows;
}

TEST_F(DirectionalErosionTest, RaysBeyondTheEdgeCountAsZero) {
  // All 255, r = 1: a ray out of the image holds one pixel, 255 / 2.
  ScopedDib full(MakeGreyDib(4, 3, [](int, int) { return uint8_t{255}; }));
  EXPECT_EQ(Eroded(full.get(), 1), (Rows{{127, 127, 127, 127}, {127, 255, 255, 127}, {127, 127, 127, 127}}));
}

TEST_F(DirectionalErosionTest, EachOfTheEightRaysReachesItsNeighbour) {
  // 7 x 7 of 200 with 10 at (3, 3) and 0 at (5, 5), r = 1: each neighbour of (3, 3) has one
  // ray through it, (200 + 10) / 2; next to the 0, 100; the border 100; the 0 stays 0.
  ScopedDib source(MakeGreyDib(7, 7, [](int x, int y) {
    return uint8_t(x == 3 && y == 3 ? 10 : x == 5 && y == 5 ? 0 : 200);
  }));
  const Rows rows = Eroded(source.get(), 1);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[2], (std::vector<int>{100, 200, 105, 105, 105, 200, 100}));
  EXPECT_EQ(rows[3], (std::vector<int>{100, 200, 105, 105, 105, 200, 100}));
  EXPECT_EQ(rows[4], (std::vector<int>{100, 200, 105, 105, 100, 100, 100}));
  EXPECT_EQ(rows[5], (std::vector<int>{100, 200, 200, 200, 100, 0, 100}));
}

int abortQueries = 0;
int WINAPI CountAbortQueries() { return ++abortQueries; }

TEST_F(DirectionalErosionTest, AnyEightBitImageNoAbortTestNoProgress) {
  SetFxAbortHook(1, CountAbortQueries);
  abortQueries = 0;
  ScopedDib eight(MakePaletteDib(3, 1, 8, std::vector<RGBQUAD>(16), [](int, int) { return uint8_t{8}; }));
  EXPECT_EQ(Eroded(eight.get(), 1), (Rows{{4, 4, 4}}));  // one row: every pixel on the edge
  EXPECT_EQ(abortQueries, 0);
  EXPECT_TRUE(progress().empty());
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));

  ScopedDib rgb(MakeRgbDib(3, 1, [](int, int) { return Bgr{1, 2, 3}; }));
  EXPECT_TRUE(Eroded(rgb.get(), 1).empty());
  for (int radius : {0, 129}) EXPECT_TRUE(Eroded(eight.get(), radius).empty()) << radius;
}

}  // namespace
