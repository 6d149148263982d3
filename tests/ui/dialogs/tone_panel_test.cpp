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
  BITMAPINFOHEADER header{40, width, height, 1, static_cast<WORD>(bitCount), 0, 0, 0, 0, static_cast<DWORD>(palette.size()), 0};
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
      {"24-bit", Dib(1, 2, 24, {}, {1, 2, 3, 0xEE, 1, 7, 9, 0xEE}), false,
       {{kToneBlue, 1, 2}, {kToneGreen, 2, 1}, {kToneGreen, 7, 1}, {kToneRed, 3, 1}, {kToneRed, 9, 1},
        {kToneAll, 1, 2}, {kToneAll, 2, 1}, {kToneAll, 7, 1}, {kToneAll, 3, 1}, {kToneAll, 9, 1}}},
      // 4 bits, 3 x 1: 0x15 0x20 are the pixels 1, 5 (past the palette: not counted) and 2;
      // the last nibble lies past the row and the padding bytes would be pixels 1.
      {"4-bit high nibble first", Dib(3, 1, 4, palette, {0x15, 0x20, 0x11, 0x11}), false,
       {{kToneBlue, 40, 1}, {kToneBlue, 70, 1}, {kToneGreen, 50, 1}, {kToneGreen, 80, 1}, {kToneRed, 60, 1},
        {kToneRed, 90, 1}, {kToneAll, 40, 1}, {kToneAll, 70, 1}, {kToneAll, 50, 1}, {kToneAll, 80, 1},
        {kToneAll, 60, 1}, {kToneAll, 90, 1}}},
      // The gray method reads only the blue byte of the palette entry, into the all-channels table.
      {"8-bit gray", Dib(2, 2, 8, palette, {0, 2, 1, 1, 2, 2, 1, 1}), true, {{kToneAll, 10, 1}, {kToneAll, 70, 3}}},
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
    uint32_t fill;              // count of every level not listed
    std::vector<Count> counts;  // in table 0
    int height;
    std::vector<std::pair<int, int>> tops;  // level, top; the others at `rest`
    int rest;
  };
  const Case cases[] = {
      // total 101, spread 2, factor 1: 100 x 98 / 101 = 97.03, top 2, raised to 4.
      {"one tall bar", 0, {{0, 0, 100}}, 98, {{0, 4}}, 99},
      // total 41, spread 2 (10 is not above 10): 30 x 62 / 41 = 45.4 -> 18; 10 x 62 / 41 = 15.1 -> 48.
      {"two bars", 0, {{0, 10, 30}, {0, 200, 10}}, 62, {{10, 18}, {200, 48}}, 63},
      // total 23, spread 3, factor 2: 11 x 98 x 2 / 23 = 93.7 -> 6.
      {"factor two", 0, {{0, 50, 11}, {0, 51, 11}}, 98, {{50, 6}, {51, 6}}, 99},
      // total 5121, spread 257, factor 101: 20 x 98 x 101 / 5121 = 38.66 -> 61.
      {"flat", 20, {}, 98, {}, 61},
  };
  for (const Case& c : cases) {
    uint32_t counts[256];
    for (uint32_t& count : counts) count = c.fill;
    for (const Count& e : c.counts) counts[e.level] = e.count;
    uint16_t tops[256];
    ComputeBarTops(counts, c.height, tops);
    std::vector<int> expected(256, c.rest);
    for (const auto& [level, top] : c.tops) expected[level] = top;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(tops[i], expected[i]) << c.name << " level " << i;
  }
}

TEST(TonePanelLayout, SquaresCentreTheNewSideOnTheOldPlace) {
  // client width, height, left, top; then changed, x, y, side
  const int cases[][8] = {
      {100, 80, 10, 20, 1, 21, 21, 78},  // inner 98 x 78
      {81, 100, 0, 0, 1, 1, 11, 79},     // inner 79 x 98
      {80, 80, 5, 6, 0, 5, 6, 80},
  };
  for (const auto& c : cases) {
    const PanelPlace place = SquarePanel(c[0], c[1], c[2], c[3]);
    const int got[4] = {place.changed, place.x, place.y, place.side};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], c[4 + i]) << c[0] << " x " << c[1] << ", value " << i;
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
      // g = 0.1: (128 / 255)^0.1 x 255 = 238.0, (64 / 255)^0.1 x 255 = 222.1.
      {"midtone 100", 0, 100, 0, {{64, 222}, {128, 238}, {255, 255}}},
      // g = 8: (128 / 255)^8 x 255 = 1.03, (200 / 255)^8 x 255 = 36.5, (240 / 255)^8 x 255 = 157.0.
      {"midtone -100", 0, -100, 0, {{128, 1}, {200, 37}, {240, 157}}},
      // Cut 200 and base 200 leave no room: everything inside is the base.
      {"no room", -100, 0, 100, {{0, 0}, {1, 200}, {254, 200}, {255, 255}}},
      // The range 200 .. 55 is empty: width 1, and 0 up to 200, 255 above.
      {"crossed ends", 100, 0, -100, {{200, 0}, {201, 255}}},
  };
  for (const Case& c : cases) {
    uint8_t curve[256];
    DisplayToneCurve(c.highlight, c.midtone, c.shadow, curve);
    for (const auto& [input, output] : c.points) EXPECT_EQ(curve[input], output) << c.name << " at " << input;
  }
}

TEST(ToneAuto, HighlightAndShadowCutTheEmptyEnds) {
  // first and last level with counts (none when first > last), highlight, shadow
  const int cases[][4] = {
      {20, 230, 13, -10},  // (256 - 230) / 2, (20 + 1) / 2
      {0, 255, 0, 0},      {0, 0, 100, 0},  // 256 / 2 capped
      {255, 255, 0, -100}, {1, 0, 100, -100},  // an empty histogram: first 255, last 0
  };
  for (const auto& c : cases) {
    uint32_t counts[256] = {};
    if (c[0] <= c[1]) counts[c[0]] = counts[c[1]] = 3;
    const AutoTone tone = AutoToneFromHistogram(counts);
    EXPECT_EQ(tone.highlight, c[2]) << c[0] << " .. " << c[1];
    EXPECT_EQ(tone.shadow, c[3]) << c[0] << " .. " << c[1];
  }
}

}  // namespace
