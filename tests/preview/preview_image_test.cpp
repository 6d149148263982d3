#include "preview/preview_image.h"

#include "engine/engine_fixture.h"
#include "fxui.h"
#include "image/dib.h"
#include "test_images.h"
#include "ymdll/ymdll.h"

namespace {

// A host picture of two entries; entry 1, 40 x 20 with a mask, is current.
class PreviewImageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    HGLOBAL image = MakeRgbDib(40, 20, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 7}; });
    HGLOBAL mask = MakeGreyDib(40, 20, [](int x, int) { return uint8_t(x * 6); });
    host_ = MakeHostImage(300, 200, {{MakeGreyDib(1, 1, [](int, int) { return uint8_t{0}; }), nullptr}, {image, mask}}, 1);
    auto* record = static_cast<HostImage*>(GlobalLock(host_));
    record->entries[0].hostData20[5] = 77;
    record->entries[0].opaqueFlag = 1;
    record->entries[1].hostData20[5] = 88;
    record->hasSelection = 1;
    GlobalUnlock(host_);
    view_ = PreviewView{host_, 0, nullptr, EFFECT_BRIGHTNESS_CONTRAST, nullptr, 50, 10, 4, 30, 14, 0};
  }
  void TearDown() override {
    if (view_.previewImage) YmImageDelete(view_.previewImage);
    FreeHostImage(host_);
    EngineTest::TearDown();
  }
  HostImage Preview() const {
    HostImage copy = *static_cast<const HostImage*>(GlobalLock(view_.previewImage));
    GlobalUnlock(view_.previewImage);
    return copy;
  }
  HGLOBAL host_ = nullptr;
  PreviewView view_{};
  const RECT display_{0, 0, 100, 80};
};

TEST_F(PreviewImageTest, CutsTheVisibleRectangleAtTheZoom) {
  ASSERT_TRUE(BuildPreviewImage(view_, display_));
  const HostImage preview = Preview();
  EXPECT_EQ(preview.width, 100);
  EXPECT_EQ(preview.height, 80);
  EXPECT_EQ(preview.entryCount, 1);
  EXPECT_EQ(preview.currentEntry, 0);
  EXPECT_EQ(preview.hasSelection, 0);
  const ImageEntry& entry = preview.entries[0];
  int w = 0, h = 0;
  GetDibSize(entry.image, &w, &h);
  EXPECT_EQ(w, 10);  // (20 x 50 + 50) / 100
  EXPECT_EQ(h, 5);   // (10 x 50 + 50) / 100
  EXPECT_EQ(entry.x, 45);
  EXPECT_EQ(entry.y, 37);  // (80 - 5) / 2, truncated
  EXPECT_EQ(entry.word280, 1);
  EXPECT_EQ(entry.word292, 100);
  EXPECT_EQ(entry.word296, 0);
  EXPECT_EQ(RgbAt(entry.image, 3, 2), (Bgr{16, 8, 7})) << "every second pixel from (10, 4)";
  EXPECT_EQ(ByteAt(entry.mask, 3, 2), 96);
  // The rest of entry 0 is the host's entry 0, whichever entry is current.
  EXPECT_EQ(entry.hostData20[5], 77);
  EXPECT_EQ(entry.opaqueFlag, 1);
}

TEST_F(PreviewImageTest, ARebuildReplacesThePreviousImageAndAFailedOneKeepsIt) {
  ASSERT_TRUE(BuildPreviewImage(view_, display_));
  const HGLOBAL old = view_.previewImage;
  view_.zoom = 100;
  ASSERT_TRUE(BuildPreviewImage(view_, display_));
  EXPECT_EQ(GlobalSize(old), 0u) << "released with its entry's DIBs (the leak check covers those)";
  const HGLOBAL first = view_.previewImage;
  EXPECT_NE(first, old);

  PlatformPressKey(VK_ESCAPE);  // held down: the resampler stops
  EXPECT_FALSE(BuildPreviewImage(view_, display_));
  PlatformReleaseKey(VK_ESCAPE);
  EXPECT_EQ(view_.previewImage, first);

  auto* record = static_cast<HostImage*>(GlobalLock(host_));
  HGLOBAL mask = record->entries[1].mask;
  record->entries[1].mask = nullptr;  // an entry without a mask never gets a preview
  GlobalUnlock(host_);
  EXPECT_FALSE(BuildPreviewImage(view_, display_));
  EXPECT_EQ(view_.previewImage, first);
  GlobalFree(mask);

  PreviewView none = view_;
  none.hostImage = nullptr;
  EXPECT_FALSE(BuildPreviewImage(none, display_));
}

}  // namespace
