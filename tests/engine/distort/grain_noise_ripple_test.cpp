#include "engine/distort/distort.h"
#include "engine/random.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// From seed 1 the draws are 41, 18467, 6334, 26500, 19169, 15724, 11478, ...
using GrainNoiseRipple = EngineTest;

std::vector<int> GreyRow(HGLOBAL dib, int w) {
  std::vector<int> levels;
  for (int x = 0; x < w; ++x) levels.push_back(ByteAt(dib, x, 0));
  return levels;
}

TEST_F(GrainNoiseRipple, FilmGrainAddsOneOffsetPerPixel) {
  ScopedDib grey(MakeGreyDib(3, 1, [](int, int) { return uint8_t{100}; }));
  // p = 100: 50 - r mod 100 = 9, -17, 16. p = 7: 3 - r mod 7 = -3, 2, -3.
  for (auto [p, expected] : {std::pair{100, std::vector<int>{109, 83, 116}}, {7, {97, 102, 97}}}) {
    SeedRandom(1);
    EXPECT_EQ(GreyRow(ScopedDib(FilmGrain(grey.get(), p)).get(), 3), expected) << p;
  }
  ScopedDib rgb(MakeRgbDib(1, 1, [](int, int) { return Bgr{10, 100, 250}; }));
  SeedRandom(1);
  EXPECT_EQ(RgbAt(ScopedDib(FilmGrain(rgb.get(), 100)).get(), 0, 0), (Bgr{19, 109, 255}));
  // p = 1: every offset is 0, yet one draw per pixel is taken.
  SeedRandom(1);
  EXPECT_EQ(BlockBytes(ScopedDib(FilmGrain(grey.get(), 1)).get()), BlockBytes(grey.get()));
  EXPECT_EQ(NextRandom(), 26500);
  for (int p : {0, 101}) EXPECT_EQ(FilmGrain(grey.get(), p), nullptr) << p;
}

TEST_F(GrainNoiseRipple, AddNoiseReplacesPixelsWithFurtherDraws) {
  // p = 50: 41 and 34 (mod 100) replace with the low bytes of 18467 and 26500; 69 keeps the
  // pixel; 24 replaces with the low byte of 11478. Colour: three draws, blue, green, red.
  ScopedDib grey(MakeGreyDib(4, 1, [](int, int) { return uint8_t{7}; }));
  SeedRandom(1);
  EXPECT_EQ(GreyRow(ScopedDib(AddNoise(grey.get(), 50)).get(), 4), (std::vector<int>{35, 132, 7, 214}));
  ScopedDib rgb(MakeRgbDib(2, 1, [](int, int) { return Bgr{1, 2, 3}; }));
  SeedRandom(1);
  ScopedDib noisy(AddNoise(rgb.get(), 50));
  EXPECT_EQ(RgbAt(noisy.get(), 0, 0), (Bgr{35, 190, 132}));
  EXPECT_EQ(RgbAt(noisy.get(), 1, 0), (Bgr{1, 2, 3}));
  for (int p : {0, 101}) EXPECT_EQ(AddNoise(grey.get(), p), nullptr) << p;
}

TEST_F(GrainNoiseRipple, RippleMovesByTheTriangleWave) {
  // Intensity 0, 1 and -5 act as 1: L = 3, and every d(i) truncates to 0.
  ScopedDib position(MakeGreyDib(10, 10, [](int x, int y) { return uint8_t(10 * y + x); }));
  for (int intensity : {0, 1, -5}) {
    EXPECT_EQ(BlockBytes(ScopedDib(Ripple(position.get(), intensity)).get()), BlockBytes(position.get())) << intensity;
  }
  // 150 acts as 100: L = 53, d(0) = 0, d(1) = 3 (52 x sin(0.2371) / 4 + 0.5 = 3.55), d(5) = 11,
  // d(9) = 9, d(10) = 7, d(18) = -7. Pixel (x, y) comes from column x + d(y), row y + d(x + y),
  // both clamped; row 0 is not shifted sideways.
  ScopedDib result(Ripple(position.get(), 150));
  const int cases[][3] = {{0, 0, 0}, {1, 0, 31}, {5, 0, 95}, {0, 1, 43}, {1, 9, 99}, {9, 9, 29}};
  for (const auto& c : cases) EXPECT_EQ(ByteAt(result.get(), c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

}  // namespace
