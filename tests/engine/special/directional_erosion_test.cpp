#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using DirectionalErosionTest = EngineTest;

TEST_F(DirectionalErosionTest, EachOfTheEightRaysReachesItsNeighbourOnAnyEightBitImage) {
  // 7 x 7 of 200 with 10 at (3, 3) and 0 at (5, 5), r = 1: each neighbour of (3, 3) has one
  // ray through it, (200 + 10) / 2; next to the 0, 100; on the border a ray leaves the image,
  // which counts as 0: 100; the 0 stays 0. Stored rows 2 to 5:
  const std::vector<std::vector<int>> expected = {{100, 200, 105, 105, 105, 200, 100},
                                                  {100, 200, 105, 105, 105, 200, 100},
                                                  {100, 200, 105, 105, 100, 100, 100},
                                                  {100, 200, 200, 200, 100, 0, 100}};
  ScopedDib source(MakeGreyDib(7, 7, [](int x, int y) {
    return uint8_t(x == 3 && y == 3 ? 10 : x == 5 && y == 5 ? 0 : 200);
  }));
  const DirectionalErosionParams params{1};
  ScopedDib result(DirectionalErosion(source.get(), &params));
  ASSERT_TRUE(result);
  for (int y = 2; y <= 5; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(ByteAt(result.get(), x, y), expected[y - 2][x]) << x << "," << y;
  }
  // Any 8-bit image is taken, with no progress report; 24-bit images and radii 0 and 129 are refused.
  progress().clear();
  ScopedDib eight(MakePaletteDib(3, 1, 8, std::vector<RGBQUAD>(16), [](int, int) { return uint8_t{8}; }));
  ScopedDib rgb(MakeRgbDib(3, 1, [](int, int) { return Bgr{1, 2, 3}; }));
  const DirectionalErosionParams refused[] = {{0}, {129}};
  ScopedDib edge(DirectionalErosion(eight.get(), &params));
  ASSERT_TRUE(edge);
  EXPECT_EQ(PixelBytes(edge.get()), (std::vector<uint8_t>{4, 4, 4, 0}));  // one row: every pixel on the edge
  EXPECT_TRUE(progress().empty());
  EXPECT_EQ(DirectionalErosion(rgb.get(), &params), nullptr);
  for (const DirectionalErosionParams& p : refused) EXPECT_EQ(DirectionalErosion(eight.get(), &p), nullptr) << p.radius;
}

}  // namespace
