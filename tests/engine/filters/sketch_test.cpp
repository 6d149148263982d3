#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using SketchTest = EngineTest;

TEST_F(SketchTest, VerticalStepEdge) {
  // 8 x 6, a step from 0 to 255 between columns 3 and 4: |H| = 1020 in both, 0 elsewhere.
  const auto step = [](int x) { return uint8_t(x >= 4 ? 255 : 0); };
  ScopedDib grey(MakeGreyDib(8, 6, [&](int x, int) { return step(x); }));
  ScopedDib white(MakeRgbDib(8, 6, [&](int x, int) { return Bgr{step(x), step(x), step(x)}; }));
  ScopedDib red(MakeRgbDib(8, 6, [&](int x, int) { return Bgr{40, 40, step(x)}; }));  // e = (0, 0, 1020)
  struct Case {
    HGLOBAL source;
    int style, threshold;
    Bgr beside, flat;  // at (4, 2) and at (1, 2); the border is the flat value too
  };
  const Case cases[] = {
      {grey.get(), 1, 0, {255, 255, 255}, {0, 0, 0}},        {grey.get(), 2, 0, {0, 0, 0}, {255, 255, 255}},
      {white.get(), 1, 0, {255, 255, 255}, {0, 0, 0}},       {white.get(), 2, 0, {0, 0, 0}, {255, 255, 255}},
      {red.get(), 1, 254, {0, 0, 255}, {0, 0, 0}},           // crayon keeps the colour
      {red.get(), 2, 85, {170, 170, 170}, {255, 255, 255}},  // pencil: m = 255 / 3 = 85, 255 - 85
      {red.get(), 2, 86, {255, 255, 255}, {255, 255, 255}},  // m below the threshold: white
  };
  for (const Case& c : cases) {
    const SketchParams params{c.style, c.threshold};
    ScopedDib result(Sketch(c.source, &params));
    ASSERT_TRUE(result);
    const auto at = [&](int x, int y) {
      if (c.source != grey.get()) return RgbAt(result.get(), x, y);
      const uint8_t v = ByteAt(result.get(), x, y);
      return Bgr{v, v, v};
    };
    EXPECT_EQ(at(4, 2), c.beside) << c.style << " " << c.threshold;
    EXPECT_EQ(at(3, 4), c.beside) << c.style << " " << c.threshold;
    for (const auto& [x, y] : {std::pair{1, 2}, {5, 3}, {4, 0}, {3, 5}, {0, 2}, {7, 2}}) {
      EXPECT_EQ(at(x, y), c.flat) << c.style << " " << c.threshold << " at " << x << "," << y;
    }
  }
}

}  // namespace
