#include "ui/dialogs/tone_panel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <windows.h>

namespace {

// A DIB block written byte by byte: header, palette (b, g, r triples), then the stored rows
// as given, padding included, so that tests can put visible bytes into the padding.
std::vector<uint8_t> Dib(int width, int height, int bitCount, const std::vector<std::vector<uint8_t>>& palette,
                         const std::vector<uint8_t>& rows) {
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biClrUsed = static_cast<DWORD>(palette.size());
  std::vector<uint8_t> block(40);
  std::memcpy(block.data(), &header, 40);
  for (const auto& entry : palette) block.insert(block.end(), {entry[0], entry[1], entry[2], 0});
  block.insert(block.end(), rows.begin(), rows.end());
  return block;
}

struct Count {
  int table, level;
  uint32_t count;
};

TEST(ToneHistograms, CountEveryPixelOnceAndSkipThePadding) {
  struct Case {
    const char* name;
    std::vector<uint8_t> dib;
    bool grayMethod;
    std::vector<Count> expected;  // every other count is 0
  };
  const std::vector<std::vector<uint8_t>> palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  const Case cases[] = {
      // 24 bits, 1 x 2: three pixel bytes and one padding byte (0xEE) per row.
      {"24-bit",
       Dib(1, 2, 24, {}, {1, 2, 3, 0xEE, 1, 7, 9, 0xEE}),
       false,
       {{kToneBlue, 1, 2}, {kToneGreen, 2, 1}, {kToneGreen, 7, 1}, {kToneRed, 3, 1}, {kToneRed, 9, 1},
        {kToneAll, 1, 2}, {kToneAll, 2, 1}, {kToneAll, 7, 1}, {kToneAll, 3, 1}, {kToneAll, 9, 1}}},
      // 4 bits, 3 x 1: 0x12 0x20 are the pixels 1, 2, 2 (the last nibble is past the row);
      // the two padding bytes would be pixels 1 too.
      {"4-bit high nibble first",
       Dib(3, 1, 4, palette, {0x12, 0x20, 0x11, 0x11}),
       false,
       {{kToneBlue, 40, 1}, {kToneBlue, 70, 2}, {kToneGreen, 50, 1}, {kToneGreen, 80, 2},
        {kToneRed, 60, 1}, {kToneRed, 90, 2},
        {kToneAll, 40, 1}, {kToneAll, 70, 2}, {kToneAll, 50, 1}, {kToneAll, 80, 2}, {kToneAll, 60, 1}, {kToneAll, 90, 2}}},
      // 8 bits, 2 x 1, a palette whose levels are not the indices; index 5 is past the palette.
      {"8-bit colour",
       Dib(3, 1, 8, palette, {2, 5, 2, 0x01}),
       false,
       {{kToneBlue, 70, 2}, {kToneGreen, 80, 2}, {kToneRed, 90, 2}, {kToneAll, 70, 2}, {kToneAll, 80, 2},
        {kToneAll, 90, 2}}},
      // The gray method reads only the blue byte of the palette entry, into the all-channels table.
      {"8-bit gray",
       Dib(2, 2, 8, palette, {0, 2, 1, 1, 2, 2, 1, 1}),
       true,
       {{kToneAll, 10, 1}, {kToneAll, 70, 3}}},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> tables(4 * kToneLevels, 0);
    uint32_t* const counts[4] = {&tables[0], &tables[256], &tables[512], &tables[768]};
    ASSERT_TRUE(CountToneHistograms(c.dib.data(), c.dib.size(), c.grayMethod, counts)) << c.name;
    std::vector<uint32_t> expected(4 * kToneLevels, 0);
    for (const Count& e : c.expected) expected[e.table * kToneLevels + e.level] = e.count;
    for (int i = 0; i < 4 * kToneLevels; ++i) {
      EXPECT_EQ(tables[i], expected[i]) << c.name << ": table " << i / 256 << " level " << i % 256;
    }
  }
  const std::vector<uint8_t> cut = Dib(4, 4, 24, {}, {1, 2, 3});  // rows missing
  uint32_t table[256] = {};
  uint32_t* const counts[4] = {table, nullptr, nullptr, nullptr};
  EXPECT_FALSE(CountToneHistograms(cut.data(), cut.size(), true, counts));
}

TEST(ToneBars, TopsFollowTheCountsAndTheSpreadOfLevels) {
  struct Case {
    const char* name;
    std::vector<Count> counts;  // in table 0
    int height;
    std::vector<std::pair<int, int>> tops;  // level, top; every other level at height + 1
  };
  const Case cases[] = {
      // total 101, spread 2, factor 1: 100 x 98 / 101 = 97.03, top 2, raised to 4.
      {"one tall bar", {{0, 0, 100}}, 98, {{0, 4}}},
      // total 41, spread 2 (10 is not above 10): 30 x 62 / 41 = 45.4 -> 18; 10 x 62 / 41 = 15.1 -> 48.
      {"two bars", {{0, 10, 30}, {0, 200, 10}}, 62, {{10, 18}, {200, 48}}},
      // total 23, spread 3, factor 2: 11 x 98 x 2 / 23 = 93.7 -> 6.
      {"factor two", {{0, 50, 11}, {0, 51, 11}}, 98, {{50, 6}, {51, 6}}},
  };
  for (const Case& c : cases) {
    uint32_t counts[256] = {};
    for (const Count& e : c.counts) counts[e.level] = e.count;
    uint16_t tops[256];
    ComputeBarTops(counts, c.height, tops);
    std::vector<int> expected(256, c.height + 1);
    for (const auto& [level, top] : c.tops) expected[level] = top;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(tops[i], expected[i]) << c.name << " level " << i;
  }
  // Flat: 256 levels of 20, total 5121, spread 257, factor 101: 20 x 98 x 101 / 5121 = 38.66.
  uint32_t flat[256];
  for (uint32_t& count : flat) count = 20;
  uint16_t tops[256];
  ComputeBarTops(flat, 98, tops);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(tops[i], 61) << i;
}

TEST(TonePanelLayout, SquaresCentreTheNewSideOnTheOldPlace) {
  struct Case {
    int width, height, left, top;
    PanelPlace expected;
  };
  const Case cases[] = {
      {100, 80, 10, 20, {true, 21, 21, 78}},  // inner 98 x 78
      {81, 100, 0, 0, {true, 1, 11, 79}},     // inner 79 x 98
      {80, 80, 5, 6, {false, 5, 6, 80}},
  };
  for (const Case& c : cases) {
    const PanelPlace place = SquarePanel(c.width, c.height, c.left, c.top);
    EXPECT_EQ(place.changed, c.expected.changed) << c.width << " x " << c.height;
    EXPECT_EQ(place.x, c.expected.x) << c.width << " x " << c.height;
    EXPECT_EQ(place.y, c.expected.y) << c.width << " x " << c.height;
    EXPECT_EQ(place.side, c.expected.side) << c.width << " x " << c.height;
  }
}

TEST(ToneDisplayCurve, DoubledSlidersShapeTheCurve) {
  struct Case {
    const char* name;
    int highlight, midtone, shadow;
    std::vector<std::pair<int, int>> points;  // input, output
  };
  const Case cases[] = {
      {"all at 0: identity", 0, 0, 0, {{0, 0}, {1, 1}, {77, 77}, {128, 128}, {254, 254}, {255, 255}}},
      // The range ends at 155: 100 x 255 / 155 = 164.5, 154 x 255 / 155 = 253.4.
      {"highlight 50", 50, 0, 0, {{100, 165}, {154, 253}, {155, 255}, {200, 255}}},
      // The range starts above 100: 1 x 255 / 155 = 1.6.
      {"shadow -50", 0, 0, -50, {{0, 0}, {100, 0}, {101, 2}, {255, 255}}},
      // Output starts at 100: 100 + 1 x 155 / 255 = 100.6.
      {"shadow 50", 0, 0, 50, {{0, 0}, {1, 101}, {255, 255}}},
      // Output held 100 below 255: 254 x 155 / 255 = 154.4.
      {"highlight -50", -50, 0, 0, {{254, 154}, {255, 255}}},
      // g = 0.1: (128 / 255)^0.1 x 255 = 238.0, (64 / 255)^0.1 x 255 = 222.1.
      {"midtone 100", 0, 100, 0, {{64, 222}, {128, 238}, {255, 255}}},
      // g = 8: (128 / 255)^8 x 255 = 1.03, (200 / 255)^8 x 255 = 36.5, (240 / 255)^8 x 255 = 157.0.
      {"midtone -100", 0, -100, 0, {{128, 1}, {200, 37}, {240, 157}}},
      // Cut 200 and base 200 leave no room: everything inside is the base.
      {"no room", -100, 0, 100, {{0, 0}, {1, 200}, {128, 200}, {254, 200}, {255, 255}}},
      // The range 200 .. 55 is empty: width 1, and 0 up to 200, 255 above.
      {"crossed ends", 100, 0, -100, {{200, 0}, {201, 255}}},
  };
  for (const Case& c : cases) {
    uint8_t curve[256];
    DisplayToneCurve(c.highlight, c.midtone, c.shadow, curve);
    for (const auto& [input, output] : c.points) EXPECT_EQ(curve[input], output) << c.name << " at " << input;
  }
}

TEST(TonePanelDrawing, BarsAndCurveLandOnTheirPixels) {
  // A 100-wide panel: bars 1 + i x 98 / 255.
  const std::pair<int, int> bars[] = {{0, 1}, {128, 50}, {255, 99}};
  for (const auto& [level, column] : bars) EXPECT_EQ(BarColumn(level, 100), column) << level;
  // The identity curve on 100 x 100: 96 steps over the levels, 96 pixels high from y 98.
  uint8_t identity[256];
  for (int i = 0; i < 256; ++i) identity[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(CurveSteps(100), 96);
  struct Case {
    int step, x, y;
  };
  const Case points[] = {{0, 2, 98}, {48, 50, 50}, {96, 98, 2}};
  for (const Case& p : points) {
    const PanelPoint point = CurvePoint(identity, p.step, 100, 100);
    EXPECT_EQ(point.x, p.x) << p.step;
    EXPECT_EQ(point.y, p.y) << p.step;
  }
}

TEST(ToneAuto, HighlightAndShadowCutTheEmptyEnds) {
  struct Case {
    int first, last;  // levels with counts, none when first > last
    int highlight, shadow;
  };
  const Case cases[] = {
      {20, 230, 13, -10},  // (256 - 230) / 2, (20 + 1) / 2
      {0, 255, 0, 0},
      {0, 0, 100, 0},      // 256 / 2 capped
      {255, 255, 0, -100},
      {1, 0, 100, -100},   // an empty histogram: first 255, last 0
  };
  for (const Case& c : cases) {
    uint32_t counts[256] = {};
    if (c.first <= c.last) counts[c.first] = counts[c.last] = 3;
    const AutoTone tone = AutoToneFromHistogram(counts);
    EXPECT_EQ(tone.highlight, c.highlight) << c.first << " .. " << c.last;
    EXPECT_EQ(tone.shadow, c.shadow) << c.first << " .. " << c.last;
  }
}

}  // namespace
