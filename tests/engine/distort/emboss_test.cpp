#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using EmbossTest = EngineTest;

enum { kOriginal = 1, kMidtone = 2, kGray = 3, kActive = 4 };

TEST_F(EmbossTest, ComputesTheCentreOfAThreeByThreeImageAndFillsTheBorders) {
  // Grey levels by stored row: 1 2 3 / 10 50 9 / 100 110 120; D = 1, centre p = (1, 1).
  const uint8_t levels[3][3] = {{1, 2, 3}, {10, 50, 9}, {100, 110, 120}};
  ScopedDib g(MakeGreyDib(3, 3, [&](int x, int y) { return levels[y][x]; }));
  // Colour row 1: (10, 10, 10), (50, 60, 70), (9, 9, 8): neighbour sums 30 and 26, p's 180.
  ScopedDib c(MakeRgbDib(3, 3, [](int x, int y) {
    return y != 1 ? Bgr{} : x == 0 ? Bgr{10, 10, 10} : x == 1 ? Bgr{50, 60, 70} : Bgr{9, 9, 8};
  }));
  const std::tuple<HGLOBAL, EmbossParams, Bgr> cases[] = {  // grey results in .b
      {g.get(), {8, kOriginal, 1, 0}, {147, 0, 0}},  // 50 + (100 - 3)
      {g.get(), {2, kMidtone, 1, 0}, {68, 0, 0}},    // 128 - (110 - 50)
      {g.get(), {7, kGray, 1, 0}, {188, 0, 0}},      // 128 + (110 - 50)
      {g.get(), {3, kMidtone, 1, 0}, {58, 0, 0}},    // 128 - (120 - 50)
      {g.get(), {1, kMidtone, 1, 0}, {78, 0, 0}},    // 128 - (100 - 50)
      {g.get(), {6, kMidtone, 1, 0}, {198, 0, 0}},   // 128 + (120 - 50)
      {g.get(), {4, kActive, 1, 0x1020C8}, {159, 0, 0}},  // red byte 200 + (9 - 50)
      // trunc3 rounds toward zero: trunc3(26 - 30) = -1, trunc3(26 - 180) = -51
      {c.get(), {4, kOriginal, 1, 0}, {49, 59, 69}},
      {c.get(), {4, kGray, 1, 0}, {77, 77, 77}},
      {c.get(), {5, kGray, 1, 0}, {179, 179, 179}},
      {c.get(), {4, kMidtone, 1, 0}, {87, 77, 66}},
      {c.get(), {4, kActive, 1, 0x0000FF}, {0, 0, 193}},  // base (0, 0, 255); negatives clamp to 0
  };
  for (const auto& [dib, params, expected] : cases) {
    ScopedDib result(Emboss(dib, &params));
    ASSERT_TRUE(result);
    const Bgr got = dib == g.get() ? Bgr{ByteAt(result.get(), 1, 1), 0, 0} : RgbAt(result.get(), 1, 1);
    EXPECT_EQ(got, expected) << params.direction << " " << params.mode;
  }
  const EmbossParams refused[] = {{1, 0, 1, 0}, {1, 5, 1, 0}, {1, 1, 0, 0}, {1, 1, 11, 0}, {0, 1, 1, 0}, {9, 1, 1, 0}};
  for (const EmbossParams& p : refused) EXPECT_EQ(Emboss(g.get(), &p), nullptr) << p.direction << p.mode << p.depth;
  // Borders: 6 x 40 with depth 10: D = 3, half the width, so every pixel is border: the source in
  // Original mode, the base colour in Active mode. Only rows 16 and 32 of the middle band report.
  ScopedDib narrow(MakeRgbDib(6, 40, [](int x, int y) { return Bgr{uint8_t(x * 40 + y), uint8_t(y), 9}; }));
  const EmbossParams original{3, kOriginal, 10, 0}, active{3, kActive, 10, 0x99563412};
  progress().clear();
  ScopedDib same(Emboss(narrow.get(), &original));
  EXPECT_EQ(progress(), (std::vector<int>{40, 80, 100}));
  ScopedDib filled(Emboss(narrow.get(), &active));
  ASSERT_TRUE(same && filled);
  EXPECT_EQ(BlockBytes(same.get()), BlockBytes(narrow.get()));
  for (int i = 0; i < 6 * 40; ++i) ASSERT_EQ(RgbAt(filled.get(), i % 6, i / 6), (Bgr{0x56, 0x34, 0x12})) << i;
}

}  // namespace
