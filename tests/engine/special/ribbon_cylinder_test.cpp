#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using RibbonCylinder = EngineTest;

TEST_F(RibbonCylinder, RibbonLiftsColumnsByTheCosineWave) {
  ScopedDib rgb(MakeRgbDib(100, 100, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 1}; }));
  const RibbonParams flat{37, 0, 0xFFFFFF};
  EXPECT_EQ(BlockBytes(ScopedDib(Ribbon(rgb.get(), &flat)).get()), BlockBytes(rgb.get()));
  // Frequency 0, amplitude 100: A = 75, every column lifted by 75 rows; rows 75-99 show source
  // rows 0-24, the rest is the fill (third byte blue).
  const RibbonParams lifted{0, 100, 0x00FF0000};
  ScopedDib band(Ribbon(rgb.get(), &lifted));
  for (int x : {0, 99}) {
    EXPECT_EQ(RgbAt(band.get(), x, 74), (Bgr{255, 0, 0})) << x;
    EXPECT_EQ(RgbAt(band.get(), x, 75), (Bgr{uint8_t(x), 0, 1})) << x;
    EXPECT_EQ(RgbAt(band.get(), x, 99), (Bgr{uint8_t(x), 24, 1})) << x;
  }
  // Frequency 10 (one half wave): column 50 lifted by 37, column 99 by 0. A grey image is
  // filled with the red byte.
  ScopedDib grey(MakeGreyDib(100, 100, [](int, int y) { return uint8_t(y); }));
  const RibbonParams wave{10, 100, 0x000000AB};
  ScopedDib waved(Ribbon(grey.get(), &wave));
  const int cases[][3] = {{50, 36, 0xAB}, {50, 37, 0}, {50, 61, 24}, {50, 62, 0xAB}, {99, 24, 24}, {99, 25, 0xAB}};
  for (const auto& c : cases) EXPECT_EQ(ByteAt(waved.get(), c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST_F(RibbonCylinder, CylinderBlendsArcsineColumns) {
  // Width 100: column 0 copies 0, 50 copies 50, 25 blends 33 and 34 by 171 and 85, 99 blends
  // 93 and 94 by 97 and 159.
  ScopedDib grey(MakeGreyDib(100, 2, [](int x, int) {
    return uint8_t(x == 34 || x == 94 ? 255 : x == 50 ? 200 : x == 0 ? 77 : 0);
  }));
  ScopedDib result(Cylinder(grey.get()));
  for (auto [x, level] : {std::pair{0, 77}, {25, 255 * 85 / 256}, {50, 200}, {99, 255 * 159 / 256}}) {
    EXPECT_EQ(ByteAt(result.get(), x, 1), level) << x;
  }
  // Width 2: column 1 blends with itself. Width 1: copied unchanged.
  ScopedDib two(MakeRgbDib(2, 1, [](int x, int) { return Bgr{uint8_t(x + 1), 9, 200}; }));
  ScopedDib one(MakeRgbDib(1, 3, [](int, int y) { return Bgr{uint8_t(y), 9, 200}; }));
  EXPECT_EQ(BlockBytes(ScopedDib(Cylinder(two.get())).get()), BlockBytes(two.get()));
  EXPECT_EQ(BlockBytes(ScopedDib(Cylinder(one.get())).get()), BlockBytes(one.get()));
}

int abortQueries = 0;
int WINAPI AbortOnSecondQuery() { return ++abortQueries == 2; }

TEST_F(RibbonCylinder, RefusePaletteImagesAndStopOnAbort) {
  ScopedDib palette8(MakePaletteDib(4, 4, 8, std::vector<RGBQUAD>(256), [](int, int) { return uint8_t{1}; }));
  const RibbonParams params{10, 50, 0};
  EXPECT_EQ(Ribbon(palette8.get(), &params), nullptr);
  EXPECT_EQ(Cylinder(palette8.get()), nullptr);
  // The first query is discarded; the second, before column 0 of the tables, stops the run.
  ScopedDib grey(MakeGreyDib(10, 10, [](int x, int) { return uint8_t(x); }));
  SetFxAbortHook(1, AbortOnSecondQuery);
  abortQueries = 0;
  EXPECT_EQ(Cylinder(grey.get()), nullptr);
  EXPECT_EQ(progress(), std::vector<int>{100});
}

}  // namespace
