#include "engine/distort/distort.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "engine/wide_kernels.h"
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

// The factor tables worked out from their formulas, and the mapping done the plain way: the
// ring index by two divisions for every pixel, each pixel on its own, in 64-bit arithmetic
// (the images are small enough that nothing wraps).
struct Tables {
  std::vector<int> f, c, s;  // f for a radial law, c and s for a turn
};

Tables Radial(const std::function<double(double x)>& factor) {
  Tables t{std::vector<int>(512, 0), {}, {}};
  for (int i = 1; i < 512; ++i) t.f[i] = int(factor(i / 512.0));
  return t;
}

// A turn's cosine and sine parts, or its angle, for each squared radius x = i / 512.
Tables Turn(const std::function<std::pair<double, double>(double x)>& entries) {
  Tables t{{}, std::vector<int>(512), std::vector<int>(512)};
  for (int i = 0; i < 512; ++i) {
    const auto [c, s] = entries(i / 512.0);
    t.c[i] = int(c), t.s[i] = int(s);
  }
  return t;
}

Tables Angle(const std::function<double(double x)>& angle) {
  return Turn([&](double x) { return std::pair{std::cos(angle(x)) * 16384, std::sin(angle(x)) * 16384}; });
}

std::vector<uint8_t> PlainWarp(const std::vector<uint8_t>& px, int w, int h, int bytes, const Tables& t) {
  const int stride = (w * bytes + 3) & ~3;
  const int64_t a = std::max((w - 1) * (w - 1), 1), b = std::max((h - 1) * (h - 1), 1);
  std::vector<uint8_t> out(px.size(), 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int64_t u = 2 * x + 1 - w, v = 2 * y + 1 - h;
      const int64_t k = std::max<int64_t>((v * v << 9) / b + (u * u << 9) / a, 1);
      int64_t sx = x, sy = y;
      if (k < 512 && !t.f.empty()) {
        sx = (t.f[k] * u + 16384 * w - 8192) >> 15, sy = (t.f[k] * v + 16384 * h - 8192) >> 15;
      } else if (k < 512) {
        sx = (t.c[k] * u - t.s[k] * v + 16384 * w - 8192) >> 15;
        sy = (t.s[k] * u + t.c[k] * v + 16384 * h - 8192) >> 15;
      }
      sx = std::clamp<int64_t>(sx, 0, w - 1), sy = std::clamp<int64_t>(sy, 0, h - 1);
      for (int i = 0; i < bytes; ++i) out[y * stride + x * bytes + i] = px[sy * stride + sx * bytes + i];
    }
  }
  return out;
}

// Every law of both warps and the radial and angular mirrors against the plain mapping, on
// random images of both kinds whose sizes are odd, tiny, or cross a band or tile seam, with
// the places of the pairs worked out eight at a time (where the processor has AVX2) and one by one.
TEST_F(Warps, MatchThePlainMappingOnRandomImages) {
  std::mt19937 random(41);
  MagicMirrorParams radial{2, {}}, angular{3, {}};
  for (uint8_t& level : radial.curve) level = uint8_t(random());
  std::copy(std::begin(radial.curve), std::end(radial.curve), angular.curve);
  const auto value = [&](double t) {  // the curve between its entries
    const int i = int(t);
    return (i + 1 - t) * radial.curve[i] + (i < 255 ? (t - i) * radial.curve[i + 1] : 0.0);
  };
  const int32_t cone[] = {1, 70}, sphere[] = {2, -3}, fisheye[] = {3, 100};
  const int32_t spiral[] = {1, 100}, whirlpool[] = {2, 45}, half[] = {3, 1}, shrinking[] = {4, 100};
  const std::tuple<HGLOBAL (*)(HGLOBAL, const void*), const void*, Tables> cases[] = {
      {RadialWarp, cone, Radial([](double x) { return 16384 / std::pow(x, 70 * 0.003); })},
      {RadialWarp, sphere, Radial([](double x) { return 2 * std::asin(std::sqrt(x)) / (3.14159265 * std::sqrt(x)) * 16384; })},
      {RadialWarp, fisheye, Radial([](double x) { return std::pow(x, 100 * 0.0075) * 16384; })},
      {RotationalWarp, spiral, Angle([](double x) { return std::sqrt(x) * 100 * 0.125663706; })},
      {RotationalWarp, whirlpool, Angle([](double x) { return (std::sqrt(x) - 1) * (std::sqrt(x) - 1) * 45 * -0.062831853; })},
      {RotationalWarp, half, Turn([](double x) {
         const double q = std::sqrt(x);
         return std::pair{(1 - q * q) * 16384 / (1 + q * q), q * 32768 / (1 + q * q)};
       })},
      {RotationalWarp, shrinking, Turn([](double x) {
         const double q = std::sqrt(x);
         return std::pair{(1 - q) * 16384, std::sqrt(2 * q * (1 - q)) * 16384};
       })},
      {MagicMirror, &radial, Radial([&](double x) {
         const double d = x * 255 - value(x * 255);
         return d >= 0 ? (1 + d * 0.01) * 16384 : 16384 / (1 - d * 0.01);
       })},
      {MagicMirror, &angular, Angle([&](double x) { return (x * 255 - value(x * 255)) * 0.0314159265; })},
  };
  for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {9, 7}, {27, 5}, {64, 1}, {1, 64}, {260, 9}, {5, 131}, {257, 130}}) {
    for (int bytes : {3, 1}) {
      const auto level = [&](int, int) { return uint8_t(random()); };
      ScopedDib dib(bytes == 3 ? MakeRgbDib(w, h, [&](int x, int y) { return Bgr{level(x, y), level(x, y), level(x, y)}; })
                               : MakeGreyDib(w, h, level));
      const std::vector<uint8_t> px = PixelBytes(dib.get());
      for (const auto& [routine, record, tables] : cases) {
        const std::vector<uint8_t> expected = PlainWarp(px, w, h, bytes, tables);
        for (bool baseline : {false, true}) {  // eight places at a time where AVX2 is, and one by one
          ForceBaselineKernels(baseline);
          ScopedDib result(routine(dib.get(), record));
          ForceBaselineKernels(false);
          ASSERT_TRUE(result);
          EXPECT_EQ(PixelBytes(result.get()), expected)
              << w << " x " << h << " " << bytes << " " << static_cast<const int32_t*>(record)[0] << " " << baseline;
        }
      }
    }
  }
  // The column table is the block after the result and the factor tables: without it, null.
  ScopedDib small(MakeGreyDib(4, 4, [](int x, int) { return uint8_t(x); }));
  using Routine = HGLOBAL (*)(HGLOBAL, const void*);
  for (auto [routine, record, block] : {std::tuple<Routine, const void*, int>{RadialWarp, cone, 3}, {RotationalWarp, spiral, 4}}) {
    PlatformFailAllocation(block);
    EXPECT_EQ(routine(small.get(), record), nullptr) << block;
  }
}

}  // namespace
