// What every neighbourhood filter shares, run through ApplyEffect so that the catalogue rows
// are checked too: the kinds taken, refused records and image sizes, flat images, and the
// abort tests and progress reports of the two-pass filters.
#include "engine/filters/filters.h"

#include "engine/engine_fixture.h"
#include "engine/filters/filter_lines.h"
#include "test_images.h"

namespace {

struct FilterRun {
  int effect;
  std::vector<int32_t> record;  // missing words are 0
  HGLOBAL Apply(HGLOBAL dib) const {
    std::vector<int32_t> words = record;
    words.resize(28);
    return ApplyEffect(dib, effect, words.data());
  }
};
// Runs that leave a flat image as it is (25: the identity kernel, centre word 3 + 12).
const FilterRun kNeutral[] = {
    {8, {5}}, {9, {4, 3}}, {16, {}}, {17, {7}}, {18, {6, 300}}, {19, {0}}, {19, {1}}, {20, {4, 1}},
    {20, {4, 0}}, {21, {5}}, {25, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
};

using FilterFrame = EngineTest;

TEST_F(FilterFrame, FlatImagesComeBackUnchangedAndOtherKindsRecordsAndSizesAreRefused) {
  ScopedDib grey(MakeGreyDib(3, 1, [](int, int) { return uint8_t{77}; }));  // smaller than the windows
  ScopedDib palette(MakePaletteDib(8, 8, 8, std::vector<RGBQUAD>(256), [](int, int) { return uint8_t{3}; }));
  for (const FilterRun& run : kNeutral) {
    ScopedDib result(run.Apply(grey.get()));
    ASSERT_TRUE(result) << run.effect;
    EXPECT_EQ(BlockBytes(result.get()), BlockBytes(grey.get())) << run.effect;
    EXPECT_EQ(run.Apply(palette.get()), nullptr) << run.effect;
  }
  const FilterRun refused[] = {
      {8, {1}},        {8, {33}},          {17, {1}},          {17, {33}},          {20, {33, 1}},
      {21, {1}},       {9, {3, -1}},       {18, {2, 0, 0}},    {18, {2, 501, 0}},   {18, {2, 100, 256}},
      {18, {33, 100}}, {22, {0, 0, 128}},  {22, {1, 4, 128}},  {22, {1, -1, 128}},  {22, {1, 0, 0}},
      {22, {1, 0, 255}}, {25, {0}},        {32, {0, 10}},      {32, {3, 10}},       {32, {1, 255}},
      {32, {2, -1}},
  };
  ScopedDib ramp(MakeGreyDib(6, 6, [](int x, int) { return uint8_t(40 * x); }));
  for (const FilterRun& run : refused) EXPECT_EQ(run.Apply(ramp.get()), nullptr) << run.effect << " " << run.record[0];
  ScopedDib small(MakeGreyDib(3, 10, [](int, int) { return uint8_t{200}; }));  // contour and sketch need 4 x 4
  EXPECT_EQ(FilterRun({22, {1, 0, 128}}).Apply(small.get()), nullptr);
  EXPECT_EQ(FilterRun({32, {1, 10}}).Apply(small.get()), nullptr);
}

int abortQueries = 0;
bool abortNow = false;
int WINAPI CountingAbortTest() { return ++abortQueries, abortNow ? 1 : 0; }

TEST_F(FilterFrame, TwoPassFiltersAskAndReportAsARowPassThenAColumnPassAlsoWhenAborted) {
  // 40 x 20: the discarded query, one per row (reports 0 and 40 at rows 0 and 16), one per
  // column (50, 70, 90 at columns 0, 16, 32), then 100. An abort asked for at a report is seen
  // at the next query: at row 17 (after 40) or at column 17 (after 70).
  ScopedDib dib(MakeRgbDib(40, 20, [](int x, int y) { return Bgr{uint8_t(x * 5 + y), uint8_t(y * 9), uint8_t(x)}; }));
  const FilterSizeParams size{5, 0};
  const SoftenParams soften{5, 3};
  const UnsharpMaskParams unsharp{5, 100, 0};
  const FilterSizeParams maximum{5, 1}, minimum{5, 0};
  const std::pair<HGLOBAL (*)(HGLOBAL, const void*), const void*> routines[] = {
      {AverageBlur, &size},     {GaussianBlur, &size},   {SoftenedBlur, &soften},
      {UnsharpMask, &unsharp}, {MaximumMinimum, &maximum}, {MaximumMinimum, &minimum}};
  using Reports = std::vector<int>;
  const std::tuple<int, int, Reports> runs[] = {
      {-1, 1 + 20 + 40, {0, 40, 50, 70, 90, 100}}, {40, 1 + 18, {0, 40, 100}}, {70, 1 + 20 + 18, {0, 40, 50, 70, 100}}};
  SetFxAbortHook(1, CountingAbortTest);
  for (const auto& [routine, record] : routines) {
    for (const auto& [abortAt, queries, reports] : runs) {
      abortQueries = 0;
      abortNow = false;
      progress().clear();
      onProgress() = [abortAt = abortAt](int percent) { abortNow = abortNow || percent == abortAt; };
      ScopedDib result(routine(dib.get(), record));
      EXPECT_EQ(result.get() != nullptr, abortAt < 0) << abortAt;
      EXPECT_EQ(abortQueries, queries) << abortAt;
      EXPECT_EQ(progress(), reports) << abortAt;
    }
  }
}

}  // namespace

TEST(ShortDivision, MatchesIntegerDivisionOverItsWholeRangeWhenMade) {
  // Every divisor the box blurs hand it, over every value their sums reach: made or not, a
  // division that is made must be exact everywhere; the sides of the average (2 ... 32) must
  // all be made, or its fast vertical pass never runs.
  for (int d = 2; d <= kMaxShortDivisor; ++d) {
    const int largest = 255 * d + d / 2;
    ShortDivision divide;
    const bool made = divide.Make(d, largest);
    if (d <= kMaxSquareSize) {
      EXPECT_TRUE(made) << d;
    }
    if (!made) continue;
    int firstWrong = -1;
    for (int x = largest; x >= 0; --x) {
      if (int(((uint32_t(x) * divide.multiplier) >> 16) >> divide.shift) != x / d) firstWrong = x;
    }
    EXPECT_EQ(firstWrong, -1) << "divisor " << d;
  }
}
