#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using SketchTest = EngineTest;

TEST_F(SketchTest, VerticalStepEdge) {
  // 8 x 6, a step from 0 to 255 between columns 3 and 4: |H| = 1020 in both, 0 elsewhere.
  const auto step = [](int x) { return uint8_t(x >= 4 ? 255 : 0); };
  ScopedDib grey(MakeGreyDib(8, 6, [&](int x, int) { return step(x); }));
  ScopedDib red(MakeRgbDib(8, 6, [&](int x, int) { return Bgr{40, 40, step(x)}; }));  // e = (0, 0, 1020)
  ScopedDib low(MakeGreyDib(8, 6, [&](int x, int) { return uint8_t(step(x) / 5); }));  // 0 to 51: e = 204
  const std::tuple<HGLOBAL, SketchParams, Bgr, Bgr> cases[] = {
      // beside the step at (4, 2); flat at (1, 2), (5, 3) and on the border
      {grey.get(), {1, 0}, {255, 255, 255}, {0, 0, 0}},
      {grey.get(), {2, 0}, {0, 0, 0}, {255, 255, 255}},
      {red.get(), {1, 254}, {0, 0, 255}, {0, 0, 0}},           // crayon keeps the colour
      {red.get(), {2, 85}, {170, 170, 170}, {255, 255, 255}},  // pencil: m = 255 / 3 = 85, 255 - 85
      {red.get(), {2, 86}, {255, 255, 255}, {255, 255, 255}},  // m below the threshold: white
      {low.get(), {1, 204}, {204, 204, 204}, {0, 0, 0}},       // crayon: e itself below 255
      {low.get(), {2, 10}, {51, 51, 51}, {255, 255, 255}},     // pencil: 255 - e
      {low.get(), {1, 205}, {0, 0, 0}, {0, 0, 0}},             // e below the threshold
  };
  for (const auto& [source, params, beside, flat] : cases) {
    ScopedDib result(Sketch(source, &params));
    ASSERT_TRUE(result);
    const auto at = [&, isGrey = source != red.get()](int x, int y) {
      const uint8_t v = isGrey ? ByteAt(result.get(), x, y) : 0;
      return isGrey ? Bgr{v, v, v} : RgbAt(result.get(), x, y);
    };
    EXPECT_EQ(at(4, 2), beside) << params.style << " " << params.threshold;
    for (const auto& [x, y] : {std::pair{1, 2}, {5, 3}, {4, 0}, {3, 5}, {0, 2}, {7, 2}}) {
      EXPECT_EQ(at(x, y), flat) << params.style << " " << params.threshold << " at " << x << "," << y;
    }
  }
}

}  // namespace
