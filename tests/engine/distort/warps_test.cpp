#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// 9 x 7 grey image whose pixel (x, row) has level 10 x row + x, so a level names its position.
HGLOBAL PositionImage() {
  return MakeGreyDib(9, 7, [](int x, int y) { return uint8_t(10 * y + x); });
}

using Warps = EngineTest;

TEST_F(Warps, RefusesModesAndAmountsOutOfRange) {
  ScopedDib source(PositionImage());
  for (auto routine : {Fisheye, Cone, Whirlpool, Spiral}) {
    EXPECT_EQ(routine(source.get(), 0), nullptr);
    EXPECT_EQ(routine(source.get(), 101), nullptr);
  }
  const int32_t radial[][2] = {{0, 50}, {4, 50}, {1, 0}, {3, 101}};
  const int32_t rotational[][2] = {{0, 50}, {5, 50}, {3, 0}, {4, 101}};
  for (const auto& p : radial) EXPECT_EQ(RadialWarp(source.get(), p), nullptr) << p[0] << " " << p[1];
  for (const auto& p : rotational) EXPECT_EQ(RotationalWarp(source.get(), p), nullptr) << p[0] << " " << p[1];
  const RadialWarpParams sphere{2, -5};  // the sphere law reads no amount
  EXPECT_TRUE(ScopedDib(RadialWarp(source.get(), &sphere)));
}

TEST_F(Warps, MapsPixelsAsWorkedOut) {
  // Pixel (6, 3): u = 4, v = 0, ring index (16 << 9) / 64 = 128, squared radius 1/4.
  // Pixel (4, 4): u = 0, v = 2, ring index (4 << 9) / 36 = 56.
  struct Case {
    const char* law;
    HGLOBAL (*routine)(HGLOBAL, const void*);
    int32_t mode, amount, x, row, fromX, fromRow;
  };
  const Case cases[] = {
      // cone: F = 16384 / 0.25^0.3 = 24833; (24833 x 4 + 16384 x 9 - 8192) >> 15 = 7
      {"cone", RadialWarp, 1, 100, 6, 3, 7, 3},
      // fisheye: F = 0.25^0.75 x 16384 = 5792; (23168 + 139264) >> 15 = 4
      {"fisheye", RadialWarp, 3, 100, 6, 3, 4, 3},
      // sphere: F = 2 asin(0.5) / (3.14159265 x 0.5) x 16384 = 10922; (43688 + 139264) >> 15 = 5
      {"sphere", RadialWarp, 2, 0, 6, 3, 5, 3},
      // half-angle, q^2 = 56/512: C = 13153, S = 9768; sx = (139264 - 2S) >> 15 = 3,
      // sy = (2C + 16384 x 7 - 8192) >> 15 = 4
      {"half-angle", RotationalWarp, 3, 1, 4, 4, 3, 4},
      // spiral 100: angle 4.1559, C = -8653, S = -13912: sx = 5, sy = 2
      {"spiral", RotationalWarp, 1, 100, 4, 4, 5, 2},
      // whirlpool 100: C = -15515, S = -5264: sx = 4, sy = 2
      {"whirlpool", RotationalWarp, 2, 100, 4, 4, 4, 2},
      // the centre uses entry 1 and stays in place
      {"cone centre", RadialWarp, 1, 100, 4, 3, 4, 3},
      {"spiral centre", RotationalWarp, 1, 100, 4, 3, 4, 3},
  };
  ScopedDib source(PositionImage());
  for (const Case& c : cases) {
    const int32_t record[2] = {c.mode, c.amount};
    ScopedDib result(c.routine(source.get(), record));
    ASSERT_TRUE(result) << c.law;
    EXPECT_EQ(ByteAt(result.get(), c.x, c.row), 10 * c.fromRow + c.fromX) << c.law;
  }
}

TEST_F(Warps, PixelsOutsideTheEllipseStayAndOneByOneMapsOntoItself) {
  ScopedDib source(MakeRgbDib(9, 7, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), uint8_t(x * y)}; }));
  ScopedDib single(MakeRgbDib(1, 1, [](int, int) { return Bgr{1, 2, 3}; }));
  const int32_t word = 100;
  for (int effect : {41, 48, 49, 50, 55}) {
    ScopedDib result(ApplyEffect(source.get(), effect, &word)), one(ApplyEffect(single.get(), effect, &word));
    ASSERT_TRUE(result && one) << effect;
    EXPECT_EQ(RgbAt(one.get(), 0, 0), (Bgr{1, 2, 3})) << effect;
    // Corner regions, ring index 512 or more: (1, 0) has 512 + 288, (0, 5) 227 + 512.
    for (auto [x, row] : {std::pair{0, 0}, {1, 0}, {0, 5}, {8, 6}, {7, 6}, {8, 0}, {0, 6}}) {
      EXPECT_EQ(RgbAt(result.get(), x, row), RgbAt(source.get(), x, row)) << effect << " " << x << "," << row;
    }
  }
}

TEST_F(Warps, LargeImagesKeepTheRingIndexInRange) {
  // 40000 x 1: (w - 1)^2 has 31 bits, so the shift is 0 and A becomes 39999^2 >> 9 = 3124843.
  // Column 30000: u = 20001, k = 20001^2 / 3124843 = 128, fisheye 100 F = 5792:
  // (5792 x 20001 + 16384 x 40000 - 8192) >> 15 = 23535.
  ScopedDib source(MakeGreyDib(40000, 1, [](int x, int) { return uint8_t(x % 251); }));
  ScopedDib result(Fisheye(source.get(), 100));
  ASSERT_TRUE(result);
  EXPECT_EQ(ByteAt(result.get(), 30000, 0), 23535 % 251);
  EXPECT_EQ(ByteAt(result.get(), 0, 0), 0) << "the ends lie on the ellipse";
}

}  // namespace
