// Effects 20 and 21: order-statistic filters over a square window. The maximum and minimum
// are separable (two passes); the median keeps a running histogram along each row.
#include <cstring>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

// Largest (or smallest) sample of each window of the padded line: n comparisons per sample.
template <bool kMaximum>
void RankLine(const LineArgs& a, int n) {
  for (int p = 0; p < a.length; ++p) {
    const uint8_t* window = a.line + p;
    uint8_t best = kMaximum ? 0 : 255;
    for (int j = 0; j < n; ++j) best = kMaximum ? std::max(best, window[j]) : std::min(best, window[j]);
    a.out[p * a.outStep] = best;
  }
}

// The running histogram of one channel's window. `median` is the smallest level whose
// cumulative count reaches `target`; `excess` is that cumulative count minus `target`.
struct RunningMedian {
  uint32_t count[256];
  int median;
  int excess;

  // Walks up from level 0 to the first level whose cumulative count reaches `target`.
  void Find(int target) {
    int cumulative = 0;
    int level = 0;
    while ((cumulative += count[level]) < target) ++level;
    median = level;
    excess = cumulative - target;
  }
  void Remove(uint8_t v) {
    --count[v];
    if (v <= median) --excess;
  }
  void Add(uint8_t v) {
    ++count[v];
    if (v <= median) ++excess;
  }
  // After a slide: walk up while the count at the median falls short of the target, then
  // down while the level below still reaches it. The downward walk also runs when the
  // excess is exactly 0, since the median's own level may have emptied (its count 0 means
  // the level below reaches the target too), so the definition holds after every slide.
  void Settle() {
    while (excess < 0) excess += count[++median];
    while (excess >= static_cast<int>(count[median])) excess -= count[median--];
  }
};

// One stored row of the median for `channels` channels: counts the window of x = 0, then
// writes the median of each position and slides the window right by one column, with
// 2 x n histogram updates per sample.
void MedianRow(const uint8_t* source, uint8_t* out, const ptrdiff_t* rowOffsets, int width, int n,
               int channels, int target, RunningMedian* medians) {
  const int h = n / 2;
  for (int c = 0; c < channels; ++c) {
    RunningMedian& m = medians[c];
    std::memset(m.count, 0, sizeof m.count);
    for (int i = 0; i < n; ++i) {
      const uint8_t* row = source + rowOffsets[i] + c;
      for (int k = 0; k < n; ++k) ++m.count[row[ClampToLine(k - h, width) * channels]];
    }
    m.Find(target);
  }
  for (int x = 0; x < width; ++x) {
    for (int c = 0; c < channels; ++c) out[x * channels + c] = static_cast<uint8_t>(medians[c].median);
    const ptrdiff_t leaving = ptrdiff_t(std::max(x - h, 0)) * channels;
    const ptrdiff_t entering = ptrdiff_t(std::min(x - h + n, width - 1)) * channels;
    if (leaving == entering) continue;  // both ends clamped to the same column: nothing changes
    for (int i = 0; i < n; ++i) {
      const uint8_t* row = source + rowOffsets[i];
      for (int c = 0; c < channels; ++c) {
        medians[c].Remove(row[leaving + c]);
        medians[c].Add(row[entering + c]);
      }
    }
    for (int c = 0; c < channels; ++c) medians[c].Settle();
  }
}

}  // namespace

HGLOBAL MaximumMinimum(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const FilterSizeParams*>(record);
  const int n = params.squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t* line = AllocatePaddedLine(frame, n);
  if (!line) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  if (params.maximum != 0) {
    const auto maximum = [n](const LineArgs& a) { RankLine<true>(a, n); };
    RunSeparablePasses(frame, n, line, maximum, maximum);
  } else {
    const auto minimum = [n](const LineArgs& a) { RankLine<false>(a, n); };
    RunSeparablePasses(frame, n, line, minimum, minimum);
  }
  return frame.Finish();
}

HGLOBAL Median(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int n = static_cast<const FilterSizeParams*>(record)->squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  const DibLayout& layout = frame.layout();
  const int channels = ChannelsOf(layout);
  const int target = (n * n + 1) / 2;  // for even n the lower of the two middle samples
  const int h = n / 2;
  RunningMedian medians[3];
  ptrdiff_t rowOffsets[kMaxSquareSize];
  for (int y = 0; y < layout.height; ++y) {
    if (!frame.BeginRow(y)) break;
    for (int i = 0; i < n; ++i) rowOffsets[i] = ptrdiff_t(ClampToLine(y - h + i, layout.height)) * layout.stride;
    MedianRow(frame.sourcePixels(), frame.resultPixels() + ptrdiff_t(y) * layout.stride, rowOffsets,
              layout.width, n, channels, target, medians);
  }
  return frame.Finish();
}
