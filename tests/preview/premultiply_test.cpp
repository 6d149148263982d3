#include "preview/premultiply.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using Premultiply = EngineTest;

TEST_F(Premultiply, ScalesColourByTheMaskAndBack) {
  const uint8_t alpha[4] = {128, 0, 255, 100};
  ScopedDib image(MakeRgbDib(4, 1, [](int, int) { return Bgr{200, 100, 1}; }));
  ScopedDib mask(MakeGreyDib(4, 1, [&](int x, int) { return alpha[x]; }));
  ScopedDib premultiplied(PremultiplyByMask(image.get(), mask.get()));
  ASSERT_TRUE(premultiplied);
  EXPECT_EQ(RgbAt(premultiplied.get(), 0, 0), (Bgr{100, 50, 0}));  // 200 x 128 / 255 = 100.4
  EXPECT_EQ(RgbAt(premultiplied.get(), 1, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(RgbAt(premultiplied.get(), 2, 0), (Bgr{200, 100, 1}));
  EXPECT_EQ(RgbAt(image.get(), 0, 0), (Bgr{200, 100, 1})) << "the image itself is not changed";

  ASSERT_EQ(UnpremultiplyByMask(premultiplied.get(), mask.get()), 1);
  EXPECT_EQ(RgbAt(premultiplied.get(), 0, 0), (Bgr{199, 99, 0}));  // 100 x 255 / 128 = 199.2
  EXPECT_EQ(RgbAt(premultiplied.get(), 1, 0), (Bgr{0, 0, 0})) << "mask 0 leaves the pixel";
  // 200 x 255 / 100 = 510 is stored as 255, not wrapped.
  EXPECT_EQ(RgbAt(image.get(), 3, 0).b, 200);
  ASSERT_EQ(UnpremultiplyByMask(image.get(), mask.get()), 1);
  EXPECT_EQ(RgbAt(image.get(), 3, 0), (Bgr{255, 255, 2}));
}

TEST_F(Premultiply, RefusesImagesThatDoNotFitTogether) {
  ScopedDib image(MakeRgbDib(4, 2, [](int, int) { return Bgr{1, 2, 3}; }));
  ScopedDib narrow(MakeGreyDib(3, 2, [](int, int) { return uint8_t{9}; }));
  ScopedDib colourMask(MakeRgbDib(4, 2, [](int, int) { return Bgr{}; }));
  EXPECT_EQ(PremultiplyByMask(image.get(), narrow.get()), nullptr);
  EXPECT_EQ(PremultiplyByMask(image.get(), colourMask.get()), nullptr);
  EXPECT_EQ(PremultiplyByMask(nullptr, narrow.get()), nullptr);
  EXPECT_EQ(UnpremultiplyByMask(image.get(), narrow.get()), 0);
  EXPECT_EQ(UnpremultiplyByMask(image.get(), nullptr), 0);
}

}  // namespace
