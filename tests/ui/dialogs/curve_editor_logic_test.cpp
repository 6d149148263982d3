// The curve editor's value logic against values worked out by hand.
#include "ui/dialogs/curve_editor_logic.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Identity() {
  std::vector<uint8_t> curve(256);
  for (int i = 0; i < 256; ++i) curve[i] = uint8_t(i);
  return curve;
}

TEST(CurveEditorLogic, GeometryAndMouseMappingOfA130By66Client) {
  const CurveGeometry g = CurveGeometryOf(130, 66);  // w 128, h 64
  struct Point {
    int level, x, y;
  };
  // x = level * 128 / 255 + 1, y = 64 - level * 64 / 255 + 1
  for (const Point& p : {Point{0, 1, 65}, Point{100, 51, 40}, Point{128, 65, 33}, Point{255, 129, 1}}) {
    EXPECT_EQ(CurvePointX(g, p.level), p.x) << p.level;
    EXPECT_EQ(CurvePointY(g, p.level), p.y) << p.level;
  }
  struct Mouse {
    int x, y;
    bool inside;
    int input, output;
  };
  const Mouse cases[] = {
      {1, 1, true, 0, 255},     {129, 65, true, 255, 0},  {65, 33, true, 127, 128},  // 255*64/128 = 127.5
      {2, 64, true, 1, 4},                                                              // 255 - 251
      {0, 10, false, 0, 0},     {130, 10, false, 0, 0},   {10, 0, false, 0, 0},      {10, 66, false, 0, 0},
      {-5, 10, false, 0, 0},
  };
  for (const Mouse& m : cases) {
    CurvePoint point{-1, -1};
    EXPECT_EQ(MouseToCurve(g, m.x, m.y, &point), m.inside) << m.x << "," << m.y;
    if (m.inside) {
      EXPECT_EQ(point.input, m.input) << m.x << "," << m.y;
      EXPECT_EQ(point.output, m.output) << m.x << "," << m.y;
    }
  }
}

TEST(CurveEditorLogic, DragsFillTheRunBetweenTheLastAndTheNewPoint) {
  struct Entry {
    int index, value;
  };
  struct Step {
    CurvePoint last, point;
    bool press;
    std::vector<Entry> expected;  // checked after the step; the curve carries over
  };
  const Step steps[] = {
      // press at 10: only that entry
      {{0, 0}, {10, 50}, true, {{9, 9}, {10, 50}, {11, 11}}},
      // drag to 20: 11..20 from 50 to 100 in steps of 5
      {{10, 50}, {20, 100}, false, {{10, 50}, {11, 55}, {15, 75}, {20, 100}, {21, 21}}},
      // back to 5: 5..19 from 0 to 100 over 15, truncated
      {{20, 100}, {5, 0}, false, {{4, 4}, {5, 0}, {6, 6}, {12, 46}, {19, 93}, {20, 100}}},
      // falling run: 100 - 100/3 truncates toward zero to 67, not down to 66
      {{30, 100}, {33, 0}, false, {{30, 30}, {31, 67}, {32, 34}, {33, 0}}},
      // moving at the last point's input sets that entry
      {{40, 30}, {40, 90}, false, {{39, 39}, {40, 90}, {41, 41}}},
  };
  std::vector<uint8_t> curve = Identity();
  for (size_t s = 0; s < std::size(steps); ++s) {
    EditCurve(curve.data(), steps[s].last, steps[s].point, steps[s].press);
    for (const Entry& e : steps[s].expected) EXPECT_EQ(curve[e.index], e.value) << "step " << s << " entry " << e.index;
  }
}

TEST(CurveEditorLogic, FunctionsOnTheIdentity) {
  struct Case {
    int function;
    int entries[5];   // 0, 1, 64, 128, 255
    int expected[5];
  };
  const Case cases[] = {
      // sqrt(65025 - (255 - v)^2) + 0.5: v 1 gives sqrt(509) = 22.6, v 64 sqrt(28544) = 168.9
      {kCurveCircle, {0, 1, 64, 128, 255}, {0, 23, 169, 221, 255}},
      // (e^(v/255) - 1) * 255 / (e - 1): v 128 gives 0.65196 * 148.404 = 96.75
      {kCurveExponent, {0, 1, 3, 128, 0}, {0, 0, 1, 96, 0}},
      // ln(v + 1) * 255 / ln 256 + 0.5: v 3 gives 63.75
      {kCurveLogarithm, {0, 1, 3, 255, 0}, {0, 32, 64, 255, 0}},
      // sin(v * pi / 510) * 255 + 0.5: v 128 gives 0.70928 * 255 = 180.87
      {kCurveSine, {0, 1, 128, 255, 0}, {0, 2, 181, 255, 0}},
      // asin(v / 255) * 510 / pi + 0.5: v 128 gives 0.52586 * 162.338 = 85.37
      {kCurveArcsine, {0, 1, 128, 255, 0}, {0, 1, 85, 255, 0}},
      // (v * v + 127) / 255
      {kCurveSquare, {0, 16, 64, 128, 255}, {0, 1, 16, 64, 255}},
      // sqrt(v) * sqrt(255) + 0.5: v 64 gives 127.75
      {kCurveSquareroot, {0, 1, 64, 128, 255}, {0, 16, 128, 181, 255}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> curve = Identity();
    ApplyCurveFunction(curve.data(), c.function);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(curve[c.entries[k]], c.expected[k]) << "function " << c.function << " at " << c.entries[k];
  }
}

TEST(CurveEditorLogic, SmoothChangesOnlyTheLastEntryOfTheIdentityAndResetRestoresIt) {
  std::vector<uint8_t> curve = Identity();
  ApplyCurveFunction(curve.data(), kCurveSmooth);
  std::vector<uint8_t> expected = Identity();
  expected[255] = 254;  // (254 + 255) / 2
  EXPECT_EQ(curve, expected);

  // A spike at 100 spreads over the seven entries around it; ends average 2, 3 and 5 entries.
  std::vector<uint8_t> spike(256, 0);
  spike[100] = 70;
  spike[0] = 9;
  spike[255] = 9;
  ApplyCurveFunction(spike.data(), kCurveSmooth);
  EXPECT_EQ(spike[96], 0);
  EXPECT_EQ(spike[97], 10);   // (70 + 3) / 7
  EXPECT_EQ(spike[103], 10);
  EXPECT_EQ(spike[104], 0);
  EXPECT_EQ(spike[0], 4);     // 9 / 2
  EXPECT_EQ(spike[1], 3);     // (9 + 1) / 3
  EXPECT_EQ(spike[2], 2);     // (9 + 2) / 5
  EXPECT_EQ(spike[3], 1);     // (9 + 3) / 7
  EXPECT_EQ(spike[255], 4);

  ApplyCurveFunction(spike.data(), kCurveSquare);
  ApplyCurveFunction(spike.data(), kCurveReset);
  EXPECT_EQ(spike, Identity());
  ApplyCurveFunction(spike.data(), kCurveFunctionCount);  // not a function: nothing
  EXPECT_EQ(spike, Identity());
}

}  // namespace
