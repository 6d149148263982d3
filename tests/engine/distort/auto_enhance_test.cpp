#include "engine/distort/distort.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using AutoEnhanceTest = EngineTest;
using Levels = std::vector<std::vector<int>>;

Levels Enhanced(const Levels& levels, int p) {
  const int w = int(levels[0].size()), h = int(levels.size());
  ScopedDib source(MakeGreyDib(w, h, [&](int x, int y) { return uint8_t(levels[y][x]); }));
  ScopedDib result(AutoEnhance(source.get(), p));
  Levels rows(h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) rows[y].push_back(ByteAt(result.get(), x, y));
  }
  return rows;
}

TEST_F(AutoEnhanceTest, LevelsSpreadAndInPlaceSharpening) {
  // Two columns wide: no sharpening. p = 50: b = 2, k = 10, g = 0.836; p = 100: b = 4, k = 20,
  // g = 0.684.
  EXPECT_EQ(Enhanced({{2, 3}, {122, 244}, {245, 255}}, 50), (Levels{{0, 6}, {142, 254}, {255, 255}}));
  EXPECT_EQ(Enhanced({{4, 0}, {234, 235}}, 100), (Levels{{0, 0}, {254, 255}}));

  // Colour, p = 50: each channel c below the largest M drops by (50 + 10 (M - c)) / 100.
  const Bgr pixels[] = {{122, 255, 0}, {0, 122, 245}, {122, 122, 122}};
  ScopedDib rgb(MakeRgbDib(3, 1, [&](int x, int) { return pixels[x]; }));
  ScopedDib spread(AutoEnhance(rgb.get(), 50));
  EXPECT_EQ(RgbAt(spread.get(), 0, 0), (Bgr{131, 255, 0}));
  EXPECT_EQ(RgbAt(spread.get(), 1, 0), (Bgr{0, 131, 255}));
  EXPECT_EQ(RgbAt(spread.get(), 2, 0), (Bgr{142, 142, 142}));

  // Sharpening, p = 50, table entry L / 80, after the first pass [0, 142, 142], [255, 142,
  // 142], [142, 142, 142]. The in-place pass is kept: (1, 1) sees the current row's column 0
  // (255) as its lower-left neighbour, L = -226, 140 (a pure neighbourhood: 142); (1, 2) on the
  // top row sees the sharpened (0, 2) = 140 above-left and 142 below-left, 142 (pure: 141).
  EXPECT_EQ(Enhanced({{0, 122, 122}, {255, 122, 122}, {122, 122, 122}}, 50),
            (Levels{{0, 144, 142}, {255, 140, 142}, {140, 142, 142}}));
}

int abortQueries = 0;
int WINAPI CountAbortQueries() { return ++abortQueries; }

TEST_F(AutoEnhanceTest, RunsOutsideTheFrameOnAnyEightBitImage) {
  SetFxAbortHook(1, CountAbortQueries);
  abortQueries = 0;
  SetCursor(Stock(IDC_CROSS));
  // p = 0 to 4: k = 0 and b = 0, a level table equal to the identity, no sharpening. The
  // palette of an 8-bit image is copied as found.
  std::vector<RGBQUAD> palette(16, RGBQUAD{9, 8, 7, 6});
  ScopedDib indexed(MakePaletteDib(5, 4, 8, palette, [](int x, int y) { return uint8_t((x * 7 + y * 3) % 16); }));
  ScopedDib rgb(MakeRgbDib(5, 4, [](int x, int y) { return Bgr{uint8_t(x * 60), uint8_t(255 - y * 70), uint8_t(x * y * 9)}; }));
  for (int p : {0, 4}) {
    for (HGLOBAL dib : {indexed.get(), rgb.get()}) EXPECT_EQ(BlockBytes(ScopedDib(AutoEnhance(dib, p)).get()), BlockBytes(dib)) << p;
  }
  EXPECT_EQ(PaletteAt(ScopedDib(AutoEnhance(indexed.get(), 50)).get(), 3).rgbReserved, 6);
  EXPECT_EQ(abortQueries, 0);
  EXPECT_TRUE(progress().empty());
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));

  ScopedDib four(MakePaletteDib(5, 4, 4, palette, [](int, int) { return uint8_t{1}; }));
  EXPECT_EQ(AutoEnhance(four.get(), 50), nullptr);
}

}  // namespace
