#include "ymdll/ymdll.h"

#include "engine/engine_fixture.h"
#include "fxui.h"
#include "image/dib.h"
#include "test_images.h"

namespace {

// A 6 x 4 picture whose current entry, 2 x 2, sits at x 3, y 1 (its top edge).
class YmdllTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    // Stored rows: row 0 is the entry's bottom row (picture row 2), row 1 its top (picture row 1).
    const uint8_t alpha[2][2] = {{255, 0}, {128, 255}};
    HGLOBAL image = MakeRgbDib(2, 2, [](int x, int y) { return Bgr{uint8_t(10 + x), uint8_t(20 + y), 200}; });
    HGLOBAL mask = MakeGreyDib(2, 2, [&](int x, int y) { return alpha[y][x]; });
    host_ = MakeHostImage(6, 4, {{image, mask}}, 0);
    auto* record = static_cast<HostImage*>(GlobalLock(host_));
    record->entries[0].x = 3;
    record->entries[0].y = 1;
    GlobalUnlock(host_);
  }
  void TearDown() override {
    FreeHostImage(host_);
    EngineTest::TearDown();
  }
  // Pixel at column x of picture row `top` counted from the top.
  static Bgr At(HGLOBAL dib, int x, int top) { return RgbAt(dib, x, 3 - top); }
  HGLOBAL host_ = nullptr;
};

TEST_F(YmdllTest, ComposesTheEntryOverASolidBackground) {
  const YmBackground red = {0, 0x000000FF, 0x00FF0000};
  ScopedDib picture(YmImageCropToDib(host_, -1, 0, &red));
  ASSERT_TRUE(picture);
  int w = 0, h = 0;
  GetDibSize(picture.get(), &w, &h);
  EXPECT_EQ(w, 6);
  EXPECT_EQ(h, 4);
  const Bgr background{0, 0, 255};
  EXPECT_EQ(At(picture.get(), 0, 0), background);
  EXPECT_EQ(At(picture.get(), 2, 1), background);
  EXPECT_EQ(At(picture.get(), 3, 1), (Bgr{5, 11, 227})) << "alpha 128: (v x 128 + bg x 127 + 127) / 255";
  EXPECT_EQ(At(picture.get(), 4, 1), (Bgr{11, 21, 200}));
  EXPECT_EQ(At(picture.get(), 3, 2), (Bgr{10, 20, 200}));
  EXPECT_EQ(At(picture.get(), 4, 2), background) << "alpha 0";
  EXPECT_EQ(At(picture.get(), 3, 3), background);
}

TEST_F(YmdllTest, DrawsACheckerboardOfTwoColours) {
  const YmBackground board = {2, 0x00FFFFFF, 0x00808080};
  ScopedDib picture(YmImageCropToDib(host_, 0, 0, &board));
  ASSERT_TRUE(picture);
  EXPECT_EQ(At(picture.get(), 1, 1), (Bgr{255, 255, 255}));
  EXPECT_EQ(At(picture.get(), 2, 0), (Bgr{128, 128, 128}));
  EXPECT_EQ(At(picture.get(), 0, 2), (Bgr{128, 128, 128}));
  EXPECT_EQ(At(picture.get(), 2, 3), (Bgr{255, 255, 255}));
  EXPECT_EQ(YmImageCropToDib(host_, 1, 0, &board), nullptr) << "no entry 1";
  EXPECT_EQ(YmImageCropToDib(nullptr, -1, 0, &board), nullptr);
}

TEST(YmImageDelete, FreesOnlyTheEntriesInUse) {
  const size_t before = PlatformLiveBlockCount();
  HGLOBAL outside = MakeGreyDib(1, 1, [](int, int) { return uint8_t{0}; });
  HGLOBAL record = MakeHostImage(4, 4, {{MakeGreyDib(1, 1, [](int, int) { return uint8_t{0}; }), nullptr}}, 0);
  static_cast<HostImage*>(GlobalLock(record))->entries[1].image = outside;  // beyond entryCount
  GlobalUnlock(record);
  EXPECT_EQ(YmImageDelete(record), 1);
  EXPECT_EQ(GlobalSize(outside), 1064u + 4u) << "not freed";
  GlobalFree(outside);
  EXPECT_EQ(PlatformLiveBlockCount(), before);
  EXPECT_EQ(YmImageDelete(nullptr), 0);
}

}  // namespace
