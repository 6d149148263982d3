#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// A 4 x 4 square with its lower left corner at (first, first).
bool InSquare(int x, int y, int first) { return x >= first && x <= first + 3 && y >= first && y <= first + 3; }

using FindContourTest = EngineTest;

TEST_F(FindContourTest, OutlinesTheInsideOfABrightSquare) {
  ScopedDib source(MakeGreyDib(8, 8, [](int x, int y) { return uint8_t(InSquare(x, y, 2) ? 255 : 0); }));
  const FindContourParams params{1, 3, 128};  // the channel choice does not apply to grey images
  ScopedDib result(FindContour(source.get(), &params));
  ASSERT_TRUE(result);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool outline = InSquare(x, y, 2) && !(x >= 3 && x <= 4 && y >= 3 && y <= 4);
      EXPECT_EQ(ByteAt(result.get(), x, y), outline ? 255 : 0) << x << "," << y;
    }
  }
  ScopedDib flat(MakeGreyDib(4, 4, [](int, int) { return uint8_t{200}; }));
  ScopedDib black(FindContour(flat.get(), &params));
  EXPECT_EQ(PixelBytes(black.get()), std::vector<uint8_t>(16, 0));
}

TEST_F(FindContourTest, BordersStayBlackAndChannelsApart) {
  // A region in the corner: no outline on the border rows and columns.
  ScopedDib corner(MakeRgbDib(8, 8, [](int x, int y) { return InSquare(x, y, 0) ? Bgr{200, 200, 50} : Bgr{0, 0, 0}; }));
  struct Case {
    int channel, x, y;
    Bgr expected;
  };
  const Case cases[] = {
      {2, 0, 3, {0, 0, 0}}, {2, 1, 3, {0, 255, 0}}, {2, 1, 1, {0, 0, 0}},  // (1, 1): border neighbours are inside
      {0, 3, 1, {255, 255, 0}},                                              // red 50 is not above 100
  };
  for (const Case& c : cases) {
    const FindContourParams params{1, c.channel, 100};
    ScopedDib result(FindContour(corner.get(), &params));
    ASSERT_TRUE(result);
    EXPECT_EQ(RgbAt(result.get(), c.x, c.y), c.expected) << c.channel << " " << c.x << "," << c.y;
  }
}

}  // namespace
