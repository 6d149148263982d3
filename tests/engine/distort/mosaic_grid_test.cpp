#include "engine/distort/distort.h"
#include "engine/random.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using MosaicGrid = EngineTest;

TEST_F(MosaicGrid, MosaicTilesFromTheBottomLeftWithTruncatedMeans) {
  ScopedDib rgb(MakeRgbDib(10, 1, [](int x, int) { return Bgr{uint8_t(x * 10), 255, uint8_t(x)}; }));
  const MosaicParams ones{1, 1};
  EXPECT_EQ(BlockBytes(ScopedDib(Mosaic(rgb.get(), &ones)).get()), BlockBytes(rgb.get()));
  // Tiles 4 wide (height lowered to 1): columns 0-3, 4-7 and the partial 8-9.
  const MosaicParams narrow{4, 3};
  ScopedDib means(Mosaic(rgb.get(), &narrow));
  const Bgr expected[] = {{15, 255, 1}, {55, 255, 5}, {85, 255, 8}};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(RgbAt(means.get(), x, 0), expected[x / 4]) << x;

  // 20 x 70, level = row, tiles 32 x 32: one tile 20 wide per tile row; tile rows of 32, 32
  // and 6 rows with means 15.5, 47.5 and 66.5.
  ScopedDib tall(MakeGreyDib(20, 70, [](int, int y) { return uint8_t(y); }));
  const MosaicParams large{32, 32};
  ScopedDib tiles(Mosaic(tall.get(), &large));
  const int cases[][3] = {{0, 0, 15}, {19, 31, 15}, {0, 32, 47}, {19, 63, 47}, {5, 64, 66}, {19, 69, 66}};
  for (const auto& c : cases) EXPECT_EQ(ByteAt(tiles.get(), c[0], c[1]), c[2]) << c[0] << "," << c[1];

  for (MosaicParams refused : {MosaicParams{0, 4}, MosaicParams{4, 0}, MosaicParams{-3, 4}}) {
    EXPECT_EQ(Mosaic(rgb.get(), &refused), nullptr) << refused.width << " x " << refused.height;
  }
}

TEST_F(MosaicGrid, RegularGridOfPeriod16) {
  // Level 100, A = 92: rows and columns 0 and 15 of each cell are the groove; row 1 darker,
  // row 14 lighter, then column 1 lighter and column 14 darker.
  ScopedDib grey(MakeGreyDib(20, 20, [](int, int) { return uint8_t{100}; }));
  const ThreeDGridParams params{2, 0, 0};
  ScopedDib result(ThreeDGrid(grey.get(), &params));
  const int cases[][3] = {{5, 0, 100}, {15, 5, 100}, {5, 1, 8},    {5, 14, 192}, {1, 5, 192},
                          {14, 5, 8},  {1, 1, 8},    {14, 14, 192}, {5, 5, 100}, {17, 17, 8}};
  for (const auto& c : cases) EXPECT_EQ(ByteAt(result.get(), c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST_F(MosaicGrid, IrregularGridWalksColumnsThenRows) {
  // Period 16, A = 92, 3 x 2 of level 100. Three column draws, then one draw per row.
  // Seed 1: draws 41, 18467, 6334 (low bits 1, 3, 2) walk the columns 1, 1, 0; 26500, 19169
  // (0, 1) shift the rows by 0, then 1.
  // Seed 5: 54, 28693, 12255 (2, 1, 3) walk -1, 0, 0; 24449, 27660 (1, 0) shift 1, 1. Column 0
  // of row 0 has u = 1 but v = -1, which wraps to 15, the groove.
  struct Case {
    uint32_t seed;
    int rows[2][3];
    int next;  // the generator's next draw after the run
  };
  const Case cases[] = {{1, {{100, 8, 100}, {8, 100, 192}}, 15724}, {5, {{100, 100, 100}, {100, 192, 192}}, 31430}};
  ScopedDib grey(MakeGreyDib(3, 2, [](int, int) { return uint8_t{100}; }));
  const ThreeDGridParams params{2, 0, 1};
  for (const Case& c : cases) {
    SeedRandom(c.seed);
    ScopedDib result(ThreeDGrid(grey.get(), &params));
    EXPECT_EQ(NextRandom(), c.next) << c.seed;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ByteAt(result.get(), i % 3, i / 3), c.rows[i / 3][i % 3]) << c.seed << " " << i;
  }
  const ThreeDGridParams refused[] = {{0, 0, 0}, {4, 0, 0}, {1, 3, 0}, {1, -1, 0}, {1, 0, 2}};
  for (const auto& p : refused) EXPECT_EQ(ThreeDGrid(grey.get(), &p), nullptr) << p.size << p.height << p.shape;
}

}  // namespace
