#include "engine/special/special.h"

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

using MagicMirrorTest = EngineTest;

MagicMirrorParams Curve(int mapping, const std::function<int(int)>& level) {
  MagicMirrorParams params{mapping, {}};
  for (int i = 0; i < 256; ++i) params.curve[i] = uint8_t(level(i));
  return params;
}

TEST_F(MagicMirrorTest, IdentityCurveKeepsAnyImageAndTheReversedCurveMirrors) {
  ScopedDib rgb(MakeRgbDib(10, 7, [](int x, int y) { return Bgr{uint8_t(x * 23), uint8_t(y * 31), uint8_t(x * y)}; }));
  ScopedDib indexed(MakePaletteDib(9, 6, 8, std::vector<RGBQUAD>(16, RGBQUAD{1, 2, 3, 4}),
                                   [](int x, int y) { return uint8_t((x + y) % 16); }));
  for (int mapping = 0; mapping < 4; ++mapping) {
    const MagicMirrorParams identity = Curve(mapping, [](int i) { return i; });
    for (HGLOBAL dib : {rgb.get(), indexed.get()}) {
      EXPECT_EQ(BlockBytes(ScopedDib(MagicMirror(dib, &identity)).get()), BlockBytes(dib)) << mapping;
    }
  }
  const MagicMirrorParams reversed = Curve(0, [](int i) { return 255 - i; });
  ScopedDib mirror(MagicMirror(rgb.get(), &reversed));
  for (int x = 0; x < 10; ++x) EXPECT_EQ(RgbAt(mirror.get(), x, 3), RgbAt(rgb.get(), 9 - x, 3)) << x;
}

TEST_F(MagicMirrorTest, MappingsOnWorkedPositions) {
  // 9 x 7, level 10 x row + x. (6, 3): ring index 128, t = 63.75. (4, 4): ring index 56,
  // t = 27.890625.
  // Radial, curve 0: F = (1 + 0.6375) x 16384 = 26828, source (7, 3). Curve 255: F = 16384 /
  // (1 + 1.9125) = 5625, source (4, 3).
  // Angular, curve 0: at (4, 4) a = 0.8762, C = 10486, S = 12588, source (3, 3); at (6, 3)
  // a = 2.0028, C = -6859, S = 14879, source (3, 5).
  // Down the rows, curve 0: every row is stored row 0.
  struct Case {
    int mapping, level, x, row, expected;
  };
  const Case cases[] = {{2, 0, 6, 3, 37}, {2, 255, 6, 3, 34}, {3, 0, 4, 4, 33}, {3, 0, 6, 3, 53}, {1, 0, 4, 6, 4}};
  ScopedDib position(MakeGreyDib(9, 7, [](int x, int y) { return uint8_t(10 * y + x); }));
  for (const Case& c : cases) {
    const MagicMirrorParams params = Curve(c.mapping, [&](int) { return c.level; });
    EXPECT_EQ(ByteAt(ScopedDib(MagicMirror(position.get(), &params)).get(), c.x, c.row), c.expected)
        << c.mapping << " " << c.level;
  }
  // One pixel wide: the two-entry table's entry 0 is 255 x 1 / 255 + 0.5 = 1, one past the
  // image; it is kept to column 0.
  const MagicMirrorParams full = Curve(0, [](int) { return 255; });
  ScopedDib thin(MakeRgbDib(1, 3, [](int, int y) { return Bgr{uint8_t(y), 5, 6}; }));
  EXPECT_EQ(BlockBytes(ScopedDib(MagicMirror(thin.get(), &full)).get()), BlockBytes(thin.get()));
}

TEST_F(MagicMirrorTest, RefusalsCursorAndAbortEvery32Rows) {
  ScopedDib rgb(MakeRgbDib(5, 40, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 0}; }));
  ScopedDib four(MakePaletteDib(5, 4, 4, std::vector<RGBQUAD>(16), [](int, int) { return uint8_t{1}; }));
  const MagicMirrorParams params = Curve(2, [](int i) { return i / 2; });
  const MagicMirrorParams refused[] = {Curve(-1, [](int i) { return i; }), Curve(4, [](int i) { return i; })};
  SetCursor(Stock(IDC_CROSS));
  for (const auto& p : refused) EXPECT_EQ(MagicMirror(rgb.get(), &p), nullptr) << p.mapping;
  EXPECT_EQ(MagicMirror(four.get(), &params), nullptr);
  PlatformFailAllocation(1);  // the result: the cursor is not touched
  EXPECT_EQ(MagicMirror(rgb.get(), &params), nullptr);
  EXPECT_EQ(GetCursor(), Stock(IDC_CROSS));

  onProgress() = [](int) { PlatformPressKey(VK_ESCAPE); };  // asked next at row 32
  EXPECT_EQ(MagicMirror(rgb.get(), &params), nullptr);
  EXPECT_EQ(progress(), (std::vector<int>{0, 100}));
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));
}

}  // namespace
