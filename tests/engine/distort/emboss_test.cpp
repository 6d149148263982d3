#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using EmbossTest = EngineTest;

enum { kOriginal = 1, kMidtone = 2, kGray = 3, kActive = 4 };

TEST_F(EmbossTest, RefusesParametersOutOfRange) {
  ScopedDib source(MakeGreyDib(8, 8, [](int x, int) { return uint8_t(x); }));
  const EmbossParams refused[] = {{1, 0, 1, 0}, {1, 5, 1, 0}, {1, 1, 0, 0}, {1, 1, 11, 0}, {0, 1, 1, 0}, {9, 1, 1, 0}};
  for (const EmbossParams& p : refused) {
    EXPECT_EQ(Emboss(source.get(), &p), nullptr) << p.direction << p.mode << p.depth;
  }
}

TEST_F(EmbossTest, ComputesTheCentreOfAThreeByThreeImage) {
  // Grey levels by stored row: 1 2 3 / 10 50 9 / 100 110 120; D = 1, centre p = (1, 1).
  const uint8_t grey[3][3] = {{1, 2, 3}, {10, 50, 9}, {100, 110, 120}};
  ScopedDib g(MakeGreyDib(3, 3, [&](int x, int y) { return grey[y][x]; }));
  // Colour row 1: (10, 10, 10), (50, 60, 70), (9, 9, 8): neighbour sums 30 and 26, p's 180.
  ScopedDib c(MakeRgbDib(3, 3, [](int x, int y) {
    if (y != 1) return Bgr{0, 0, 0};
    return x == 0 ? Bgr{10, 10, 10} : x == 1 ? Bgr{50, 60, 70} : Bgr{9, 9, 8};
  }));
  struct Case {
    HGLOBAL dib;
    int direction, mode;
    uint32_t base;
    Bgr expected;  // grey cases use .b
  };
  const Case cases[] = {
      {g.get(), 8, kOriginal, 0, {147, 0, 0}},  // 50 + (100 - 3)
      {g.get(), 4, kOriginal, 0, {49, 0, 0}},   // 50 + (9 - 10)
      {g.get(), 2, kMidtone, 0, {68, 0, 0}},    // 128 - (110 - 50)
      {g.get(), 7, kGray, 0, {188, 0, 0}},      // 128 + (110 - 50)
      {g.get(), 3, kMidtone, 0, {58, 0, 0}},    // 128 - (120 - 50)
      {g.get(), 6, kMidtone, 0, {198, 0, 0}},
      {g.get(), 4, kActive, 0x1020C8, {159, 0, 0}},  // red byte 200 + (9 - 50)
      // trunc3 rounds toward zero: trunc3(26 - 30) = -1, trunc3(26 - 180) = -51
      {c.get(), 4, kOriginal, 0, {49, 59, 69}},
      {c.get(), 5, kOriginal, 0, {51, 61, 71}},
      {c.get(), 4, kGray, 0, {77, 77, 77}},
      {c.get(), 5, kGray, 0, {179, 179, 179}},
      {c.get(), 4, kMidtone, 0, {87, 77, 66}},
      {c.get(), 4, kActive, 0x0000FF, {0, 0, 193}},  // base (0, 0, 255); negatives clamp to 0
  };
  for (const Case& k : cases) {
    const EmbossParams params{k.direction, k.mode, 1, k.base};
    ScopedDib result(Emboss(k.dib, &params));
    ASSERT_TRUE(result);
    if (k.dib == g.get()) {
      EXPECT_EQ(ByteAt(result.get(), 1, 1), k.expected.b) << k.direction << " " << k.mode;
    } else {
      EXPECT_EQ(RgbAt(result.get(), 1, 1), k.expected) << k.direction << " " << k.mode;
    }
  }
}

TEST_F(EmbossTest, UniformImagesAndBorders) {
  ScopedDib uniform(MakeRgbDib(12, 9, [](int, int) { return Bgr{30, 140, 220}; }));
  const Bgr expected[] = {{30, 140, 220}, {128, 128, 128}, {128, 128, 128}, {0x56, 0x34, 0x12}};
  for (int mode = kOriginal; mode <= kActive; ++mode) {
    for (int direction = 1; direction <= 8; ++direction) {
      const EmbossParams params{direction, mode, 3, 0x99563412};
      ScopedDib result(Emboss(uniform.get(), &params));
      for (int i = 0; i < 12 * 9; ++i) {
        ASSERT_EQ(RgbAt(result.get(), i % 12, i / 12), expected[mode - 1]) << mode << direction;
      }
    }
  }
  // 6 x 40 with depth 10: D = 3, every pixel is border. 7 x 1: D = 0, every pixel computed
  // against itself.
  ScopedDib narrow(MakeGreyDib(6, 40, [](int x, int y) { return uint8_t(x * 40 + y); }));
  ScopedDib flat(MakeGreyDib(7, 1, [](int x, int) { return uint8_t(x * 30); }));
  const EmbossParams original{3, kOriginal, 10, 0}, active{3, kActive, 10, 0x0000AB};
  for (auto [dib, w, h] : {std::tuple{narrow.get(), 6, 40}, {flat.get(), 7, 1}}) {
    ScopedDib same(Emboss(dib, &original)), filled(Emboss(dib, &active));
    EXPECT_EQ(BlockBytes(same.get()), BlockBytes(dib));
    for (int i = 0; i < w * h; ++i) ASSERT_EQ(ByteAt(filled.get(), i % w, i / w), 0xAB) << w << " " << i;
  }
}

TEST_F(EmbossTest, LeftAndRightMirrorEachOtherAndEdgeBandsReportNothing) {
  ScopedDib source(
      MakeRgbDib(15, 40, [](int x, int y) { return Bgr{uint8_t(x * x * 3), uint8_t(y * 20), uint8_t(x * y)}; }));
  const EmbossParams left{4, kMidtone, 2, 0}, right{5, kMidtone, 2, 0};
  ScopedDib a(Emboss(source.get(), &left));
  EXPECT_EQ(progress(), (std::vector<int>{40, 80, 100})) << "rows 16 and 32 of the middle band only";
  ScopedDib b(Emboss(source.get(), &right));
  ASSERT_TRUE(a && b);
  const std::vector<uint8_t> pa = PixelBytes(a.get()), pb = PixelBytes(b.get());
  for (size_t i = 0; i < pa.size(); ++i) {
    if (pa[i] == 0 || pa[i] == 255 || pb[i] == 0 || pb[i] == 255) continue;  // clamped or padding
    EXPECT_EQ(pa[i] + pb[i], 256) << i;                                       // 128 + e, 128 - e
  }
}

}  // namespace
