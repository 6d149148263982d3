#include "preview/effect_runner.h"

#include "engine/engine_fixture.h"
#include "image/dib.h"
#include "image/host_image.h"
#include "test_images.h"
#include "ymdll/ymdll.h"

namespace {

HGLOBAL Rgb(uint8_t level) {
  return MakeRgbDib(4, 3, [=](int, int) { return Bgr{level, level, level}; });
}
HGLOBAL Mask(uint8_t alpha) {
  return MakeGreyDib(4, 3, [=](int, int) { return alpha; });
}

using EffectRunner = EngineTest;

TEST_F(EffectRunner, PlainPathReplacesTheImageAndLeavesTheMask) {
  ImageEntry entry{};
  entry.image = Rgb(100);
  entry.mask = Mask(50);
  const HGLOBAL mask = entry.mask;
  BrightnessContrastParams params{CHANNEL_ALL, 10, 0};
  ASSERT_EQ(RunEffectOnEntry(&entry, EFFECT_BRIGHTNESS_CONTRAST, &params, false, false), 1);
  EXPECT_EQ(RgbAt(entry.image, 0, 0), (Bgr{110, 110, 110}));
  EXPECT_EQ(entry.mask, mask);

  const HGLOBAL kept = entry.image;
  ASSERT_EQ(RunEffectOnEntry(&entry, EFFECT_BRIGHTNESS_CONTRAST, &params, true, false), 1);
  EXPECT_EQ(RgbAt(kept, 0, 0).b, 110) << "with keepReplaced the old image is the caller's";
  EXPECT_EQ(RgbAt(entry.image, 0, 0).b, 120);
  GlobalFree(kept);

  const HGLOBAL before = entry.image;
  EXPECT_EQ(RunEffectOnEntry(&entry, 12, &params, false, false), 0) << "no routine";
  EXPECT_EQ(entry.image, before);
  EXPECT_EQ(RunEffectOnEntry(nullptr, EFFECT_BRIGHTNESS_CONTRAST, &params, false, false), 0);
  GlobalFree(entry.image);
  GlobalFree(entry.mask);
}

TEST_F(EffectRunner, AfterPreviewRunsOnItsEntryAndKeepsTheCursor) {
  HGLOBAL preview = MakeHostImage(10, 10, {{Rgb(100), Mask(255)}}, 0);
  BrightnessContrastParams params{CHANNEL_ALL, 10, 0};
  PreviewView view{nullptr, 0, preview, EFFECT_BRIGHTNESS_CONTRAST, &params, 50, 0, 0, 4, 3, 1};
  SetCursor(Stock(IDC_CROSS));
  EXPECT_TRUE(RenderAfterPreview(view));
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));
  const ImageEntry* entry = LockImageEntry(preview, 0);
  EXPECT_EQ(RgbAt(entry->image, 3, 2).r, 110);
  UnlockHostImage(preview);

  view.isAfter = 0;
  EXPECT_FALSE(RenderAfterPreview(view));
  view.isAfter = 1;
  view.params = nullptr;
  EXPECT_FALSE(RenderAfterPreview(view));
  view.params = &params;
  params.brightness = 0;  // nothing to do: the entry stays as built
  EXPECT_FALSE(RenderAfterPreview(view));
  YmImageDelete(preview);
}

TEST_F(EffectRunner, PremultipliedPathProcessesColourAndMaskTogether) {
  // A bright pixel in a transparent field: averaging the colour alone would spread the
  // invisible colour of the transparent pixels; premultiplied, only the opaque one counts.
  ImageEntry entry{};
  entry.image = MakeRgbDib(3, 1, [](int x, int) { return x == 1 ? Bgr{200, 200, 200} : Bgr{90, 90, 90}; });
  entry.mask = MakeGreyDib(3, 1, [](int x, int) { return uint8_t(x == 1 ? 255 : 0); });
  FilterSizeParams params{2, 0};
  ASSERT_EQ(RunEffectOnEntry(&entry, EFFECT_AVERAGE, &params, false, false), 1);
  // Window of two at column 1 (columns 0 and 1): colour (0 + 200 + 1) / 2 = 100, mask 128,
  // colour back out: 100 x 255 / 128 = 199.
  EXPECT_EQ(ByteAt(entry.mask, 1, 0), 128);
  EXPECT_EQ(RgbAt(entry.image, 1, 0), (Bgr{199, 199, 199}));

  // With opaqueFlag set the runner takes the plain path: the mask stays as it is.
  const HGLOBAL mask = entry.mask;
  ASSERT_EQ(RunEffectOnEntry(&entry, EFFECT_GAUSSIAN_BLUR, &params, false, true), 1);
  EXPECT_EQ(entry.mask, mask);
  EXPECT_EQ(ByteAt(entry.mask, 1, 0), 128);

  // Without a mask there is nothing to premultiply by: success, nothing changed.
  const HGLOBAL image = entry.image;
  entry.mask = nullptr;
  EXPECT_EQ(RunEffectOnEntry(&entry, EFFECT_AVERAGE, &params, false, false), 1);
  EXPECT_EQ(entry.image, image);
  GlobalFree(entry.image);
  GlobalFree(mask);
}

TEST_F(EffectRunner, PairedPathMovesImageAndMaskTogether) {
  // Melting on a flat, opaque picture leaves it as it was, but as two new blocks.
  ImageEntry entry{};
  entry.image = Rgb(77);
  entry.mask = Mask(255);
  const std::vector<uint8_t> image = PixelBytes(entry.image), mask = PixelBytes(entry.mask);
  const HGLOBAL oldImage = entry.image, oldMask = entry.mask;
  IntensityParams params{40};
  ASSERT_EQ(RunEffectOnEntry(&entry, EFFECT_MELTING, &params, true, false), 1);
  EXPECT_NE(entry.image, oldImage);
  EXPECT_EQ(PixelBytes(entry.image), image);
  EXPECT_EQ(PixelBytes(entry.mask), mask);
  GlobalFree(oldImage);
  GlobalFree(oldMask);
  GlobalFree(entry.image);

  // A refused intensity: failure, the entry keeps its blocks.
  const HGLOBAL kept = entry.mask;
  entry.image = Rgb(77);
  params.intensity = 0;
  EXPECT_EQ(RunEffectOnEntry(&entry, EFFECT_MELTING, &params, false, false), 0);
  EXPECT_EQ(entry.mask, kept);
  entry.mask = nullptr;
  EXPECT_EQ(RunEffectOnEntry(&entry, EFFECT_MELTING, &params, false, false), 0) << "no mask";
  GlobalFree(entry.image);
  GlobalFree(kept);
}

TEST_F(EffectRunner, SizeFieldsAreScaledToTheZoomForTheRunOnly) {
  // Average at zoom 20 with squareSize 9: 9 x 20 / 100 = 1, raised to 2. The mask is opaque,
  // so the premultiplied run equals the plain one.
  auto texture = [](int x, int y) { return Bgr{uint8_t(x * 37 + y * 11), uint8_t(x * y), uint8_t(200 - x)}; };
  HGLOBAL preview =
      MakeHostImage(40, 40, {{MakeRgbDib(12, 9, texture), MakeGreyDib(12, 9, [](int, int) { return uint8_t{255}; })}}, 0);
  ScopedDib source(MakeRgbDib(12, 9, texture));
  FilterSizeParams two{2, 0}, nine{9, 0};
  ScopedDib expected(ApplyEffect(source.get(), EFFECT_AVERAGE, &two));
  ScopedDib unscaled(ApplyEffect(source.get(), EFFECT_AVERAGE, &nine));
  ASSERT_NE(PixelBytes(expected.get()), PixelBytes(unscaled.get()));

  FilterSizeParams params{9, 0};
  PreviewView view{nullptr, 0, preview, EFFECT_AVERAGE, &params, 20, 0, 0, 12, 9, 1};
  ASSERT_TRUE(RenderAfterPreview(view));
  EXPECT_EQ(params.squareSize, 9) << "restored after the run";
  const ImageEntry* entry = LockImageEntry(preview, 0);
  EXPECT_EQ(PixelBytes(entry->image), PixelBytes(expected.get()));
  UnlockHostImage(preview);
  YmImageDelete(preview);
}

}  // namespace
