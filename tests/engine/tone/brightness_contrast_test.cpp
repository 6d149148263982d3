#include "engine/tone/tone.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// A 256 x 1 grey ramp image: pixel x has level x, so one run gives the whole lookup table.
HGLOBAL LevelsImage() {
  return MakeGreyDib(256, 1, [](int x, int) { return uint8_t(x); });
}

std::vector<uint8_t> Levels(int brightness, int contrast) {
  ScopedDib source(LevelsImage());
  const BrightnessContrastParams params{CHANNEL_ALL, brightness, contrast};
  ScopedDib result(BrightnessContrast(source.get(), &params));
  if (!result) return {};
  std::vector<uint8_t> levels(256);
  for (int i = 0; i < 256; ++i) levels[i] = ByteAt(result.get(), i, 0);
  return levels;
}

using BrightnessContrastTest = EngineTest;

TEST_F(BrightnessContrastTest, LookupFunctionAtWorkedValues) {
  struct Case {
    int brightness, contrast, level, expected;
  };
  const Case cases[] = {
      // brightness alone is an offset clamped to 0..255
      {127, 0, 0, 127},   {127, 0, 127, 254}, {127, 0, 128, 255}, {-50, 0, 30, 0},  {-128, 0, 129, 1},
      // contrast 127: a hard threshold between 127 and 128
      {0, 127, 0, 0},     {0, 127, 127, 0},   {0, 127, 128, 255}, {0, 127, 255, 255},
      // contrast -128: (255 x 128 + 255) / 511 = 64, (255 x 383 + 255) / 511 = 191
      {0, -128, 0, 64},   {0, -128, 255, 191}, {0, -128, 128, 128},
      // contrast 64: window 64..191 over 127 steps, halves rounded up
      {0, 64, 64, 0},     {0, 64, 100, 72},   {0, 64, 191, 255},
      // both: x = 50 + 20 = 70, (255 x 60 + 117) / 235 = 65
      {20, 10, 50, 65},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> levels = Levels(c.brightness, c.contrast);
    ASSERT_EQ(levels.size(), 256u);
    EXPECT_EQ(levels[c.level], c.expected) << "b " << c.brightness << " c " << c.contrast << " level " << c.level;
  }
  // Parameters are clamped before use.
  EXPECT_EQ(Levels(300, 0), Levels(127, 0));
  EXPECT_EQ(Levels(0, -200), Levels(0, -128));
  EXPECT_EQ(Levels(-1000, 1000), Levels(-128, 127));
}

TEST_F(BrightnessContrastTest, NothingToDoAndOneBitImagesGiveNullAndTouchNothing) {
  ScopedDib source(LevelsImage());
  ScopedDib oneBit(MakePaletteDib(9, 2, 1, std::vector<RGBQUAD>(2), [](int x, int) { return uint8_t(x & 1); }));
  const std::vector<uint8_t> before = BlockBytes(source.get());
  SetCursor(Stock(IDC_CROSS));
  const BrightnessContrastParams zero{CHANNEL_RED, 0, 0}, ten{CHANNEL_ALL, 10, 0};
  EXPECT_EQ(BrightnessContrast(source.get(), &zero), nullptr);
  EXPECT_EQ(BrightnessContrast(oneBit.get(), &ten), nullptr);
  EXPECT_EQ(BrightnessContrast(nullptr, &zero), nullptr);
  EXPECT_EQ(BrightnessContrast(source.get(), nullptr), nullptr);
  EXPECT_EQ(BlockBytes(source.get()), before);
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));
  EXPECT_TRUE(progress().empty());
}

TEST_F(BrightnessContrastTest, ChannelSelectsWhichBytesChange) {
  struct Case {
    int channel;
    Bgr expected;  // source (10, 20, 30) with brightness 5
  };
  const Case cases[] = {
      {0, {15, 25, 35}}, {1, {10, 20, 35}}, {2, {10, 25, 30}},
      {3, {15, 20, 30}}, {5, {15, 20, 30}}, {-1, {15, 20, 30}},
  };
  ScopedDib source(MakeRgbDib(3, 2, [](int, int) { return Bgr{10, 20, 30}; }));
  for (const Case& c : cases) {
    const BrightnessContrastParams params{c.channel, 5, 0};
    ScopedDib result(BrightnessContrast(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(RgbAt(result.get(), 2, 1), c.expected) << "channel " << c.channel;
  }
}

TEST_F(BrightnessContrastTest, RowPaddingOfTheResultIsZero) {
  // Width 5: 15 pixel bytes and one padding byte per row; the source's padding is not zero.
  ScopedDib source(MakeRgbDib(5, 3, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 200}; }));
  auto* bits = static_cast<uint8_t*>(GlobalLock(source.get()));
  for (int row = 0; row < 3; ++row) bits[40 + 16 * row + 15] = 0xEE;
  GlobalUnlock(source.get());
  const BrightnessContrastParams params{CHANNEL_ALL, 1, 0};
  ScopedDib result(BrightnessContrast(source.get(), &params));
  ASSERT_TRUE(result);
  const std::vector<uint8_t> pixels = PixelBytes(result.get());
  ASSERT_EQ(pixels.size(), 48u);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(pixels[16 * row + 15], 0) << row;
  EXPECT_EQ(RgbAt(result.get(), 4, 2), (Bgr{5, 3, 201}));
  // The header is the source's: same size, bit count and colour count.
  const std::vector<uint8_t> in = BlockBytes(source.get()), out = BlockBytes(result.get());
  EXPECT_TRUE(std::equal(in.begin(), in.begin() + 40, out.begin()));
}

TEST_F(BrightnessContrastTest, GreyRampMapsPixelsThroughTheRedTableOtherPalettesChange) {
  std::vector<RGBQUAD> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 7};
  ScopedDib source(MakePaletteDib(4, 2, 8, ramp, [](int x, int) { return uint8_t(100 + x); }));

  const BrightnessContrastParams green{CHANNEL_GREEN, 50, 0};
  ScopedDib same(BrightnessContrast(source.get(), &green));
  ASSERT_TRUE(same) << "a new image even when nothing changes";
  EXPECT_NE(same.get(), source.get());
  EXPECT_EQ(BlockBytes(same.get()), BlockBytes(source.get()));

  for (int channel : {CHANNEL_ALL, CHANNEL_RED}) {
    const BrightnessContrastParams params{channel, 50, 0};
    ScopedDib result(BrightnessContrast(source.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(ByteAt(result.get(), 3, 1), 153);
    EXPECT_EQ(PaletteAt(result.get(), 9).rgbReserved, 7) << "grey palette copied unchanged";
    EXPECT_EQ(PaletteAt(result.get(), 9).rgbBlue, 9);
  }
  // Other palette images change only the palette.
  for (int bits : {8, 4}) {
    std::vector<RGBQUAD> palette(bits == 8 ? 200 : 16);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = RGBQUAD{uint8_t(i), 100, 250, 0xAA};
    ScopedDib source(MakePaletteDib(7, 3, bits, palette, [](int x, int y) { return uint8_t((x + y) % 16); }));
    const BrightnessContrastParams params{CHANNEL_ALL, 10, 0};
    ScopedDib result(BrightnessContrast(source.get(), &params));
    ASSERT_TRUE(result) << bits;
    EXPECT_EQ(PixelBytes(result.get()), PixelBytes(source.get())) << bits;
    for (size_t i = 0; i < palette.size(); ++i) {
      const RGBQUAD q = PaletteAt(result.get(), int(i));
      EXPECT_EQ(q.rgbBlue, i + 10);
      EXPECT_EQ(q.rgbGreen, 110);
      EXPECT_EQ(q.rgbRed, 255);
      EXPECT_EQ(q.rgbReserved, 0) << "fourth byte left 0";
    }
  }
}

int abortQueries = 0;
int WINAPI CountAbortQueries() {
  ++abortQueries;
  return 0;
}

TEST_F(BrightnessContrastTest, AbortAndProgressCadenceByPathAndAbortMidRun) {
  SetFxAbortHook(1, CountAbortQueries);
  const BrightnessContrastParams params{CHANNEL_ALL, 10, 0};

  abortQueries = 0;
  ScopedDib rgb(MakeRgbDib(2, 40, [](int, int) { return Bgr{}; }));
  ScopedDib rgbResult(BrightnessContrast(rgb.get(), &params));
  EXPECT_EQ(abortQueries, 40) << "every row, no discarded first query";
  EXPECT_EQ(progress(), (std::vector<int>{0, 40, 80, 100}));

  abortQueries = 0;
  progress().clear();
  ScopedDib four(MakePaletteDib(2, 70, 4, std::vector<RGBQUAD>(16), [](int, int) { return uint8_t{3}; }));
  ScopedDib fourResult(BrightnessContrast(four.get(), &params));
  EXPECT_EQ(abortQueries, 3) << "rows 0, 32 and 64";
  EXPECT_EQ(progress(), (std::vector<int>{0, 45, 91, 100}));

  // An abort during the run frees the result.
  SetFxAbortHook(1, nullptr);
  progress().clear();
  onProgress() = [](int percent) {
    if (percent == 25) PlatformPressKey(VK_ESCAPE);
  };
  ScopedDib source(MakeRgbDib(3, 64, [](int, int) { return Bgr{1, 2, 3}; }));
  EXPECT_EQ(BrightnessContrast(source.get(), &params), nullptr);
  EXPECT_EQ(progress(), (std::vector<int>{0, 25, 100}));
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));
}

TEST_F(BrightnessContrastTest, FailedAllocationsGiveNull) {
  ScopedDib source(MakeRgbDib(3, 4, [](int, int) { return Bgr{1, 2, 3}; }));
  const BrightnessContrastParams params{CHANNEL_ALL, 10, 0};
  PlatformFailAllocation(2);  // the green table
  SetCursor(Stock(IDC_CROSS));
  EXPECT_EQ(BrightnessContrast(source.get(), &params), nullptr);
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));

  PlatformFailAllocation(4);  // the result, after the three tables
  EXPECT_EQ(BrightnessContrast(source.get(), &params), nullptr);
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));
  EXPECT_TRUE(progress().empty()) << "no final report when the result cannot be made";
}

}  // namespace
