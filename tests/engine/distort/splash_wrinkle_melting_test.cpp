#include "engine/distort/distort.h"
#include "engine/random.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// A 1 x 100 column: one drop falls at intensity 1, from seed 1 at row 18467 mod 100 = 67.
HGLOBAL Column(const std::function<uint8_t(int row)>& level) {
  return MakeGreyDib(1, 100, [&](int, int y) { return level(y); });
}

using RandomTextures = EngineTest;

TEST_F(RandomTextures, SplashCopiesFromTheDrawsOfTheSizeSeed) {
  // Level 10 x row + x + 1 names a pixel. 3 x 2 reseeds with 6: draws 58, 6673, 30119, 15745,
  // ..., column then row for each pixel. m = 2: offsets 0, +1; m = 51: -25..25, clamped.
  const std::vector<uint8_t> small = {2, 2, 3, 0, 12, 13, 13, 0}, large = {3, 1, 3, 0, 3, 11, 13, 0};
  ScopedDib source(MakeGreyDib(3, 2, [](int x, int y) { return uint8_t(10 * y + x + 1); }));
  for (auto [intensity, expected] : {std::pair{1, small}, {-9, small}, {100, large}, {500, large}}) {
    SeedRandom(12345 + intensity);  // whatever ran before does not matter
    ScopedDib result(Splash(source.get(), intensity));
    ASSERT_TRUE(result) << intensity;
    EXPECT_EQ(PixelBytes(result.get()), expected) << intensity;
  }
}

TEST_F(RandomTextures, WrinkleWalksColumnsFromTheStateFoundAndRowsFromTheSizeSeed) {
  // t = 150. From seed 4 the column draws 51, 945, 159, 386 (mod 1000) step +1, -1, 0, 0: the
  // column walk is 1, 0, 0, 0 rows. Reseeded with 12, the row draws 77, 628, 232 shift every
  // row by +1 column. What comes from outside takes the fill colour, its red byte when grey.
  const WrinkleParams params{30, 0x00332211}, refused[] = {{0, 0}, {101, 0}};
  ScopedDib grey(MakeGreyDib(4, 3, [](int x, int y) { return uint8_t(10 * y + x + 1); }));
  ScopedDib rgb(MakeRgbDib(4, 3, [](int x, int y) { return Bgr{uint8_t(10 * y + x + 1), 0, 0}; }));
  SeedRandom(4);
  ScopedDib greyResult(Wrinkle(grey.get(), &params));
  SeedRandom(4);
  ScopedDib rgbResult(Wrinkle(rgb.get(), &params));
  ASSERT_TRUE(greyResult && rgbResult);
  EXPECT_EQ(PixelBytes(greyResult.get()), (std::vector<uint8_t>{12, 3, 4, 0x11, 22, 13, 14, 0x11, 0x11, 23, 24, 0x11}));
  EXPECT_EQ(RgbAt(rgbResult.get(), 0, 2), (Bgr{0x33, 0x22, 0x11}));
  for (const WrinkleParams& p : refused) EXPECT_EQ(Wrinkle(grey.get(), &p), nullptr) << p.intensity;
}

TEST_F(RandomTextures, MeltingDropSinksThroughLighterOrEqualPixelsAboveRowZero) {
  // Drop 100 at row 67; rows 60-66 are 150 except row 63, 100 (equal: it sinks past); row 59
  // is 90, darker, and stops it at row 60. The pixels it passed move up one row.
  ScopedDib source(Column([](int y) {
    return uint8_t(y == 67 || y == 63 ? 100 : y >= 60 && y <= 66 ? 150 : y == 59 ? 90 : 0);
  }));
  SeedRandom(1);
  ScopedDib result(Melting(source.get(), 1));
  ASSERT_TRUE(result);
  std::vector<int> rows;
  for (int y = 58; y <= 68; ++y) rows.push_back(ByteAt(result.get(), 0, y));
  EXPECT_EQ(rows, (std::vector<int>{0, 90, 100, 150, 150, 150, 100, 150, 150, 150, 0}));
  // Row 0 never changes, whatever sinks toward it: 100 drops on 10 x 10.
  ScopedDib noisy(MakeRgbDib(10, 10, [](int x, int y) { return Bgr{uint8_t(x * 37 + y * 11), uint8_t(y * 53), 7}; }));
  SeedRandom(5);
  ScopedDib melted(Melting(noisy.get(), 100));
  ASSERT_TRUE(melted);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(RgbAt(melted.get(), x, 0), RgbAt(noisy.get(), x, 0)) << x;
  EXPECT_EQ(Melting(noisy.get(), 0), nullptr);
  EXPECT_EQ(Melting(noisy.get(), 101), nullptr);
}

TEST_F(RandomTextures, PairedMeltingWeighsByTheMaskMovesItWithTheImageAndRefuses) {
  // Colour: the opaque drop (100, 100, 100) weighs 255 - ((465 x 255 + 127) >> 8) = -208; the
  // transparent black below it 255 (it sinks), the opaque black under that -507 (it stops).
  ScopedDib rgb(MakeRgbDib(1, 100, [](int, int y) { return y == 67 ? Bgr{100, 100, 100} : Bgr{0, 0, 0}; }));
  ScopedDib rgbMask(Column([](int y) -> uint8_t { return y == 66 ? 0 : 255; }));
  HGLOBAL image = nullptr, mask = nullptr;
  SeedRandom(1);
  ASSERT_EQ(PairedMelting(rgb.get(), rgbMask.get(), 1, &image, &mask), 1);
  ScopedDib imageOut(image), maskOut(mask);
  EXPECT_EQ(RgbAt(image, 0, 66), (Bgr{100, 100, 100}));
  EXPECT_EQ(ByteAt(mask, 0, 67), 0);
  // Grey: a transparent pixel weighs 0. The opaque drop 200 (weight 199) stays on it; a
  // transparent drop (weight 0) sinks past everything to row 1.
  ScopedDib grey(Column([](int y) -> uint8_t { return y == 67 ? 200 : y == 66 ? 255 : y; }));
  for (int dropAlpha : {255, 0}) {
    ScopedDib greyMask(Column([&](int y) -> uint8_t { return y == 66 ? 0 : y == 67 ? dropAlpha : 255; }));
    SeedRandom(1);
    ASSERT_EQ(PairedMelting(grey.get(), greyMask.get(), 1, &image, &mask), 1);
    ScopedDib greyImageOut(image), greyMaskOut(mask);
    EXPECT_EQ(ByteAt(image, 0, dropAlpha ? 67 : 1), 200) << dropAlpha;
    EXPECT_EQ(ByteAt(mask, 0, dropAlpha ? 67 : 1), dropAlpha) << dropAlpha;
  }
  // Refusals, and an aborted run, leave both outputs null.
  ScopedDib shortMask(MakeGreyDib(1, 99, [](int, int) { return uint8_t{255}; }));
  ScopedDib paletteMask(MakePaletteDib(1, 100, 8, std::vector<RGBQUAD>(256), [](int, int) { return uint8_t{1}; }));
  const std::tuple<HGLOBAL, HGLOBAL, int, bool> runs[] = {  // the last one starts and is aborted
      {rgb.get(), rgbMask.get(), 0, false},          {rgb.get(), rgbMask.get(), 101, false},
      {rgb.get(), shortMask.get(), 50, false},       {rgb.get(), paletteMask.get(), 50, false},
      {paletteMask.get(), rgbMask.get(), 50, false}, {rgb.get(), rgbMask.get(), 100, true},
  };
  for (const auto& [in, inMask, intensity, abort] : runs) {
    if (abort) onProgress() = [](int) { PlatformPressKey(VK_ESCAPE); };
    HGLOBAL out1 = rgb.get(), out2 = rgbMask.get();
    EXPECT_EQ(PairedMelting(in, inMask, intensity, &out1, &out2), 0) << intensity;
    EXPECT_TRUE(out1 == nullptr && out2 == nullptr) << intensity;
  }
}

}  // namespace
