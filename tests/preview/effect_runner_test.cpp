#include "preview/effect_runner.h"

#include "engine/engine_fixture.h"
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

}  // namespace
