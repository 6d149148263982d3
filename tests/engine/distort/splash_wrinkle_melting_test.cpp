#include "engine/distort/distort.h"
#include "engine/random.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// Level 10 x row + x + 1 names the position of a pixel.
HGLOBAL PositionImage(int w, int h) {
  return MakeGreyDib(w, h, [](int x, int y) { return uint8_t(10 * y + x + 1); });
}

std::vector<std::vector<int>> Levels(HGLOBAL dib, int w, int h) {
  std::vector<std::vector<int>> rows(h, std::vector<int>(w));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) rows[y][x] = ByteAt(dib, x, y);
  }
  return rows;
}

// A 1 x 100 column: one drop falls at intensity 1, from seed 1 at row 18467 mod 100 = 67.
HGLOBAL Column(const std::function<uint8_t(int row)>& level) {
  return MakeGreyDib(1, 100, [&](int, int y) { return level(y); });
}

using RandomTextures = EngineTest;

TEST_F(RandomTextures, SplashCopiesFromTheDrawsOfTheSizeSeed) {
  // 3 x 2 reseeds with 6: draws 58, 6673, 30119, 15745, ..., column then row for each pixel.
  const std::vector<std::vector<int>> small = {{2, 2, 3}, {12, 13, 13}};  // m = 2: offsets 0, +1
  const std::vector<std::vector<int>> large = {{3, 1, 3}, {3, 11, 13}};   // m = 51: -25..25, clamped
  ScopedDib source(PositionImage(3, 2));
  for (auto [intensity, expected] : {std::pair{1, small}, {3, small}, {-9, small}, {100, large}, {500, large}}) {
    SeedRandom(12345 + intensity);  // whatever ran before does not matter
    ScopedDib result(Splash(source.get(), intensity));
    ASSERT_TRUE(result) << intensity;
    EXPECT_EQ(Levels(result.get(), 3, 2), expected) << intensity;
  }
}

TEST_F(RandomTextures, WrinkleWalksColumnsFromTheStateFoundAndRowsFromTheSizeSeed) {
  // t = 150. From seed 4 the column draws 51, 945, 159, 386 (mod 1000) step +1, -1, 0, 0: the
  // column walk is 1, 0, 0, 0 rows. Reseeded with 12, the row draws 77, 628, 232 shift every
  // row by +1 column. 0 stands for the fill colour.
  const std::vector<std::vector<int>> expected = {{12, 3, 4, 0}, {22, 13, 14, 0}, {0, 23, 24, 0}};
  const WrinkleParams params{30, 0x00332211};
  ScopedDib grey(PositionImage(4, 3));
  ScopedDib rgb(MakeRgbDib(4, 3, [](int x, int y) { return Bgr{uint8_t(10 * y + x + 1), 0, 0}; }));
  SeedRandom(4);
  ScopedDib greyResult(Wrinkle(grey.get(), &params));
  SeedRandom(4);
  ScopedDib rgbResult(Wrinkle(rgb.get(), &params));
  ASSERT_TRUE(greyResult && rgbResult);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      const int e = expected[y][x];
      EXPECT_EQ(ByteAt(greyResult.get(), x, y), e ? e : 0x11) << x << "," << y;  // grey: the red byte
      EXPECT_EQ(RgbAt(rgbResult.get(), x, y), (e ? Bgr{uint8_t(e), 0, 0} : Bgr{0x33, 0x22, 0x11})) << x << "," << y;
    }
  }
  for (int intensity : {0, 101}) {
    const WrinkleParams refused{intensity, 0};
    EXPECT_EQ(Wrinkle(grey.get(), &refused), nullptr) << intensity;
  }
}

TEST_F(RandomTextures, MeltingDropSinksThroughLighterOrEqualPixels) {
  // Drop 100 at row 67; rows 60-66 are 150 except row 63, 100 (equal: it sinks past); row 59
  // is 90, darker, and stops it at row 60.
  const auto before = [](int y) -> uint8_t {
    if (y == 67 || y == 63) return 100;
    return y >= 60 && y <= 66 ? 150 : y == 59 ? 90 : 0;
  };
  ScopedDib source(Column(before));
  SeedRandom(1);
  ScopedDib result(Melting(source.get(), 1));
  ASSERT_TRUE(result);
  for (int y = 0; y < 100; ++y) {
    EXPECT_EQ(ByteAt(result.get(), 0, y), y == 60 ? 100 : (y > 60 && y <= 67) ? before(y - 1) : before(y)) << y;
  }
}

TEST_F(RandomTextures, MeltingKeepsRowZeroAndUniformImagesAndContinuesTheSequence) {
  ScopedDib noisy(MakeRgbDib(10, 10, [](int x, int y) { return Bgr{uint8_t(x * 37 + y * 11), uint8_t(y * 53), 7}; }));
  SeedRandom(5);
  ScopedDib result(Melting(noisy.get(), 100));  // 100 drops, 200 draws, no reseed
  ASSERT_TRUE(result);
  const int next = NextRandom();
  SeedRandom(5);
  for (int i = 0; i < 200; ++i) NextRandom();
  EXPECT_EQ(next, NextRandom());
  for (int x = 0; x < 10; ++x) EXPECT_EQ(RgbAt(result.get(), x, 0), RgbAt(noisy.get(), x, 0)) << x;

  progress().clear();
  ScopedDib uniform(MakeGreyDib(50, 50, [](int, int) { return uint8_t{77}; }));  // 2500 drops
  ScopedDib same(Melting(uniform.get(), 100));
  ASSERT_TRUE(same);
  EXPECT_EQ(BlockBytes(same.get()), BlockBytes(uniform.get()));
  EXPECT_EQ(progress(), (std::vector<int>{0, 10, 20, 30, 81, 92, 100})) << "drops 0, 256, 512, 768, 2048, 2304";

  ScopedDib small(MakeGreyDib(9, 11, [](int x, int y) { return uint8_t(x * y); }));  // 99 pixels: no drop
  EXPECT_EQ(BlockBytes(ScopedDib(Melting(small.get(), 1)).get()), BlockBytes(small.get()));
  EXPECT_EQ(Melting(small.get(), 0), nullptr);
  EXPECT_EQ(Melting(small.get(), 101), nullptr);
}

TEST_F(RandomTextures, PairedMeltingWeighsByTheMaskAndMovesItWithTheImage) {
  // Colour: the opaque drop (100, 100, 100) weighs 255 - ((465 x 255 + 127) >> 8) = -208; the
  // transparent black below it 255 (it sinks), the opaque black under that -507 (it stops).
  ScopedDib rgb(MakeRgbDib(1, 100, [](int, int y) { return y == 67 ? Bgr{100, 100, 100} : Bgr{0, 0, 0}; }));
  ScopedDib rgbMask(Column([](int y) -> uint8_t { return y == 66 ? 0 : 255; }));
  HGLOBAL image = nullptr, mask = nullptr;
  SeedRandom(1);
  ASSERT_EQ(PairedMelting(rgb.get(), rgbMask.get(), 1, &image, &mask), 1);
  ScopedDib imageOut(image), maskOut(mask);
  EXPECT_EQ(RgbAt(image, 0, 66), (Bgr{100, 100, 100}));
  EXPECT_EQ(RgbAt(image, 0, 67), (Bgr{0, 0, 0}));
  EXPECT_EQ(ByteAt(mask, 0, 66), 255);
  EXPECT_EQ(ByteAt(mask, 0, 67), 0);

  // Grey: a transparent pixel weighs 0. The opaque drop 200 (weight 199) stays on it; a
  // transparent drop (weight 0) sinks past everything to row 1.
  ScopedDib grey(Column([](int y) -> uint8_t { return y == 67 ? 200 : y == 66 ? 255 : y; }));
  for (int dropAlpha : {255, 0}) {
    ScopedDib greyMask(Column([&](int y) -> uint8_t { return y == 66 ? 0 : y == 67 ? dropAlpha : 255; }));
    SeedRandom(1);
    ASSERT_EQ(PairedMelting(grey.get(), greyMask.get(), 1, &image, &mask), 1);
    ScopedDib imageOut2(image), maskOut2(mask);
    const int dropRow = dropAlpha ? 67 : 1;
    EXPECT_EQ(ByteAt(image, 0, dropRow), 200) << dropAlpha;
    EXPECT_EQ(ByteAt(mask, 0, dropRow), dropAlpha) << dropAlpha;
    EXPECT_EQ(ByteAt(image, 0, 2), dropAlpha ? 2 : 1) << dropAlpha;
  }
}

TEST_F(RandomTextures, PairedMeltingRefusalsAndAbortLeaveNullOutputs) {
  ScopedDib image(MakeRgbDib(20, 20, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 0}; }));
  ScopedDib mask(MakeGreyDib(20, 20, [](int x, int) { return uint8_t(x * 12); }));
  ScopedDib shortMask(MakeGreyDib(20, 19, [](int, int) { return uint8_t{255}; }));
  ScopedDib paletteMask(MakePaletteDib(20, 20, 8, std::vector<RGBQUAD>(256), [](int, int) { return uint8_t{1}; }));
  const std::tuple<HGLOBAL, HGLOBAL, int> refused[] = {
      {image.get(), mask.get(), 0},        {image.get(), mask.get(), 101},      {nullptr, mask.get(), 50},
      {image.get(), nullptr, 50},          {image.get(), paletteMask.get(), 50}, {paletteMask.get(), mask.get(), 50},
      {image.get(), shortMask.get(), 50},
  };
  for (const auto& [in, inMask, intensity] : refused) {
    HGLOBAL out1 = image.get(), out2 = mask.get();
    EXPECT_EQ(PairedMelting(in, inMask, intensity, &out1, &out2), 0);
    EXPECT_TRUE(out1 == nullptr && out2 == nullptr);
  }
  onProgress() = [](int) { PlatformPressKey(VK_ESCAPE); };
  HGLOBAL out1 = image.get(), out2 = mask.get();
  EXPECT_EQ(PairedMelting(image.get(), mask.get(), 100, &out1, &out2), 0);
  EXPECT_TRUE(out1 == nullptr && out2 == nullptr);
  EXPECT_EQ(progress(), (std::vector<int>{0, 100}));
}

}  // namespace
