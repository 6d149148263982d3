#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using FindContourTest = EngineTest;

TEST_F(FindContourTest, OutlinesTheInsideOfRegionsChannelByChannel) {
  // (200, 200, 50) where x <= 4 and 2 <= y <= 4, threshold 100: the region's pixels with a
  // neighbour outside are outlined, except on the border rows and columns, which stay black;
  // border pixels count as inside for their neighbours, so (1, 3) is not. Red 50 is not above 100.
  ScopedDib source(MakeRgbDib(8, 8, [](int x, int y) { return x < 5 && y > 1 && y < 5 ? Bgr{200, 200, 50} : Bgr{}; }));
  for (int channel : {0, 1, 2}) {  // all, red, green
    const FindContourParams params{1, channel, 100};
    ScopedDib result(FindContour(source.get(), &params));
    ASSERT_TRUE(result);
    for (int i = 0; i < 64; ++i) {
      const int x = i % 8, y = i / 8;
      const uint8_t e = x >= 1 && x <= 4 && y >= 2 && y <= 4 && (x == 4 || y != 3) ? 255 : 0;
      EXPECT_EQ(RgbAt(result.get(), x, y), (Bgr{channel == 0 ? e : uint8_t{0}, channel != 1 ? e : uint8_t{0}, 0}))
          << channel << " " << x << "," << y;
    }
  }
}

}  // namespace
