#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using Warps = EngineTest;

TEST_F(Warps, MapPixelsAsWorkedOutForSmallAndLargeImagesAndRefuseModesAndAmounts) {
  // A 9 x 7 grey image whose level 10 x row + x names the position of the pixel.
  // Pixel (6, 3): u = 4, v = 0, ring index (16 << 9) / 64 = 128, squared radius 1/4.
  // Pixel (4, 4): u = 0, v = 2, ring index (4 << 9) / 36 = 56.
  ScopedDib source(MakeGreyDib(9, 7, [](int x, int y) { return uint8_t(10 * y + x); }));
  const std::tuple<HGLOBAL (*)(HGLOBAL, const void*), int32_t, int32_t, int, int, int> cases[] = {
      // routine, mode, amount, x, row, the level found there (-1: refused)
      // cone: F = 16384 / 0.25^0.3 = 24833; (24833 x 4 + 16384 x 9 - 8192) >> 15 = 7
      {RadialWarp, 1, 100, 6, 3, 37},
      // fisheye: F = 0.25^0.75 x 16384 = 5792; (23168 + 139264) >> 15 = 4
      {RadialWarp, 3, 100, 6, 3, 34},
      // sphere, which reads no amount: F = 2 asin(0.5) / (3.14159265 x 0.5) x 16384 = 10922;
      // (43688 + 139264) >> 15 = 5
      {RadialWarp, 2, 0, 6, 3, 35},
      // half-angle, q^2 = 56/512: C = 13153, S = 9768; sx = (139264 - 2S) >> 15 = 3,
      // sy = (2C + 16384 x 7 - 8192) >> 15 = 4
      {RotationalWarp, 3, 1, 4, 4, 43},
      // spiral 100: angle 4.1559, C = -8653, S = -13912: sx = 5, sy = 2
      {RotationalWarp, 1, 100, 4, 4, 25},
      // whirlpool 100: C = -15515, S = -5264: sx = 4, sy = 2
      {RotationalWarp, 2, 100, 4, 4, 24},
      {RotationalWarp, 1, 100, 4, 3, 34},  // the centre uses entry 1 and stays in place
      {RadialWarp, 0, 50, 0, 0, -1},     {RadialWarp, 4, 50, 0, 0, -1},     {RadialWarp, 1, 0, 0, 0, -1},
      {RadialWarp, 3, 101, 0, 0, -1},    {RotationalWarp, 0, 50, 0, 0, -1}, {RotationalWarp, 5, 50, 0, 0, -1},
      {RotationalWarp, 3, 0, 0, 0, -1},  {RotationalWarp, 4, 101, 0, 0, -1},
  };
  for (const auto& [routine, mode, amount, x, row, expected] : cases) {
    const int32_t record[2] = {mode, amount};
    ScopedDib result(routine(source.get(), record));
    EXPECT_EQ(result ? ByteAt(result.get(), x, row) : -1, expected) << mode << " " << amount;
  }
  // Each fixed-mode effect keeps the pixels outside the ellipse, ring index 512 or more ((1, 0)
  // has 512 + 288, (0, 5) 227 + 512), and maps a 1 x 1 image onto itself.
  ScopedDib single(MakeGreyDib(1, 1, [](int, int) { return uint8_t{77}; }));
  const int32_t word = 100;
  for (int effect : {41, 48, 49, 50, 55}) {
    ScopedDib result(ApplyEffect(source.get(), effect, &word)), one(ApplyEffect(single.get(), effect, &word));
    ASSERT_TRUE(result && one) << effect;
    EXPECT_EQ(ByteAt(one.get(), 0, 0), 77) << effect;
    for (auto [x, row] : {std::pair{0, 0}, {1, 0}, {0, 5}, {8, 6}, {7, 6}, {8, 0}, {0, 6}}) {
      EXPECT_EQ(ByteAt(result.get(), x, row), 10 * row + x) << effect << " " << x << "," << row;
    }
  }
  // Large images keep the ring index in range. 40000 x 1: (w - 1)^2 has 31 bits, so the shift
  // is 0 and A becomes 39999^2 >> 9 = 3124843.
  // Column 30000: u = 20001, k = 20001^2 / 3124843 = 128, fisheye 100 F = 5792:
  // (5792 x 20001 + 16384 x 40000 - 8192) >> 15 = 23535.
  ScopedDib wide(MakeGreyDib(40000, 1, [](int x, int) { return uint8_t(x % 251); }));
  ScopedDib widened(Fisheye(wide.get(), 100));
  ASSERT_TRUE(widened);
  EXPECT_EQ(ByteAt(widened.get(), 30000, 0), 23535 % 251);
  EXPECT_EQ(ByteAt(widened.get(), 0, 0), 0) << "the ends lie on the ellipse";
}

// The column parts of the ring index come from a table when it can be made (the block after
// the factor tables) and from a division per pixel otherwise: the same picture either way.
TEST_F(Warps, ColumnTableGivesTheSamePictureAsDividingPerPixel) {
  ScopedDib rgb(MakeRgbDib(37, 23, [](int x, int y) { return Bgr{uint8_t(x * 7), uint8_t(y * 11), uint8_t(x * y)}; }));
  const std::tuple<HGLOBAL (*)(HGLOBAL, const void*), int32_t, int32_t, int> cases[] = {
      // routine, mode, amount, the column table's block (result 1, then the factor tables)
      {RadialWarp, 1, 60, 3}, {RadialWarp, 2, 0, 3}, {RadialWarp, 3, 100, 3},
      {RotationalWarp, 1, 100, 4}, {RotationalWarp, 2, 30, 4}, {RotationalWarp, 4, 1, 4},
  };
  for (const auto& [routine, mode, amount, block] : cases) {
    const int32_t record[2] = {mode, amount};
    ScopedDib withTable(routine(rgb.get(), record));
    PlatformFailAllocation(block);
    ScopedDib dividing(routine(rgb.get(), record));
    PlatformFailAllocation(0);
    ASSERT_TRUE(withTable && dividing) << mode;
    EXPECT_EQ(PixelBytes(withTable.get()), PixelBytes(dividing.get())) << mode << " " << amount;
    EXPECT_NE(PixelBytes(withTable.get()), PixelBytes(rgb.get())) << mode << " " << amount;
  }
}

}  // namespace
