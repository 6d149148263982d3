#include "ui/scroll_position.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollPosition, EachCodeMovesAsTheSliderTableSays) {
  const SliderRange range = {0, 255, 16};
  struct Case {
    int code, position, thumb, expected;
  };
  const Case cases[] = {
      {0, 128, 0, 127}, {1, 128, 0, 129}, {2, 128, 0, 112}, {3, 128, 0, 144},  // lines and pages
      {4, 128, 40, 40}, {5, 128, 250, 250},                                    // the thumb
      {6, 128, 0, 0},   {7, 128, 0, 255},                                      // the ends
      {0, 0, 0, 0},     {2, 5, 0, 0},     {3, 250, 0, 255}, {5, 10, 999, 255}, // clamped
      {8, 128, 0, kNoScroll}, {9, 128, 0, kNoScroll},                          // not handled
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScrollPosition(c.code, c.position, c.thumb, range), c.expected) << "code " << c.code;
  }
  EXPECT_EQ(ScrollPosition(6, 50, 0, SliderRange{2, 128, 16}), 2);
  EXPECT_EQ(ScrollPosition(0, -99, 0, SliderRange{-100, 100, 10}), -100) << "negative positions are positions";
}

}  // namespace
