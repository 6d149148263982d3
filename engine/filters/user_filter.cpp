// Effect 25, user-defined filter: a 5 x 5 kernel of integer weights as the user sees it,
// divided by a scale, plus a bias. All multiplication and division happen while the 25
// weight tables are built; the rows then need only lookups and additions.
#include <climits>
#include <cstdlib>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

constexpr int kTaps = 25;
constexpr int kSide = 5;
constexpr int kReach = 2;  // rows and columns on each side of the centre

// Entry v of a weight table: v x 262144 x weight / scale + 0.5 in extended precision,
// truncated toward zero, so each entry is the sample's share in 18-bit fixed point.
// Shares beyond the 32-bit range (weights far above the scale) are held at its ends.
int32_t WeightEntry(int v, int32_t weight, int32_t scale) {
  const long double share = static_cast<long double>(v) * 262144 * weight / scale + 0.5L;
  if (share >= static_cast<long double>(INT32_MAX)) return INT32_MAX;
  if (share <= static_cast<long double>(INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(share);
}

// The sum is a sum of table entries, so its order does not matter. Equal weights have equal
// tables, and equal kernel rows equal row sums: each source row is looked up once per
// distinct weight, and summed along once per distinct kernel row; an output row then adds
// the row sums of its five source rows.
struct KernelPlan {
  int weights = 0;              // distinct nonzero weights
  const int32_t* table[kTaps];  // the table of each distinct weight
  int patterns = 0;             // distinct kernel rows with a nonzero weight
  int cell[kTaps][kSide];       // pattern p, column j: its distinct weight, or -1 for 0
  int rowPattern[kSide];        // reversed kernel row i: its pattern, or -1 for all zeros
  int64_t largestSum = 0;       // the sum of the largest |entry| of every tap
};

KernelPlan Plan(const int32_t* kernel, const int32_t* tables) {
  KernelPlan plan;
  int weightOf[kTaps];  // tap k: its distinct weight, or -1
  for (int k = 0; k < kTaps; ++k) {
    weightOf[k] = -1;
    if (kernel[k] == 0) continue;
    for (int m = 0; m < k && weightOf[k] < 0; ++m) {
      if (kernel[m] == kernel[k]) weightOf[k] = weightOf[m];
    }
    if (weightOf[k] < 0) {
      weightOf[k] = plan.weights;
      plan.table[plan.weights++] = tables + 256 * k;
    }
    int64_t largest = 0;
    for (int v = 0; v < 256; ++v) largest = std::max(largest, std::abs(int64_t(tables[256 * k + v])));
    plan.largestSum += largest;
  }
  for (int i = 0; i < kSide; ++i) {
    const int* row = weightOf + kSide * i;
    plan.rowPattern[i] = -1;
    if (std::all_of(row, row + kSide, [](int w) { return w < 0; })) continue;
    for (int p = 0; p < plan.patterns && plan.rowPattern[i] < 0; ++p) {
      if (std::equal(row, row + kSide, plan.cell[p])) plan.rowPattern[i] = p;
    }
    if (plan.rowPattern[i] < 0) {
      std::copy(row, row + kSide, plan.cell[plan.patterns]);
      plan.rowPattern[i] = plan.patterns++;
    }
  }
  return plan;
}

// From 18-bit fixed point to a level, halves away from zero, plus the bias, clamped.
template <typename Acc>
inline uint8_t Level(Acc acc, int32_t bias) {
  const int32_t level = int32_t(acc >= 0 ? (acc + 131072) >> 18 : -((131072 - acc) >> 18));
  return static_cast<uint8_t>(std::clamp(level + bias, 0, 255));
}

// out[k] = the sum of the five lines at k, in one pass the compiler vectorises.
template <typename Acc>
void SumOfFive(const Acc* const* in, ptrdiff_t count, Acc* __restrict out) {
  const Acc* __restrict a = in[0];
  const Acc* __restrict b = in[1];
  const Acc* __restrict c = in[2];
  const Acc* __restrict d = in[3];
  const Acc* __restrict e = in[4];
  for (ptrdiff_t k = 0; k < count; ++k) out[k] = a[k] + b[k] + c[k] + d[k] + e[k];
}

// The output levels of the sums of five lines of row sums.
template <typename Acc>
void LevelsOfFive(const Acc* const* in, ptrdiff_t count, int32_t bias, uint8_t* __restrict out) {
  const Acc* __restrict a = in[0];
  const Acc* __restrict b = in[1];
  const Acc* __restrict c = in[2];
  const Acc* __restrict d = in[3];
  const Acc* __restrict e = in[4];
  for (ptrdiff_t k = 0; k < count; ++k) out[k] = Level(Acc(a[k] + b[k] + c[k] + d[k] + e[k]), bias);
}

// The filter with sums of type Acc: 32 bits when no sum of entries can pass
// INT32_MAX - 131072 (then the rounding cannot overflow either), else 64 bits.
template <typename Acc>
HGLOBAL Filter(RoutineFrame& frame, const KernelPlan& plan, int32_t bias) {
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  const int channels = ChannelsOf(layout);
  const size_t rowSamples = size_t(width) * channels;
  const size_t paddedSamples = rowSamples + size_t(2 * kReach) * channels;
  // Per distinct weight, the entries of the row being loaded, padded by two pixels on each
  // side; per ring slot and pattern, its row sums; and a line of zeros, which stands in for
  // zero weights so that every sum is one pass over five lines.
  Acc* lookups = frame.AllocateTable<Acc>(std::max(plan.weights, 1) * paddedSamples);
  Acc* rowSums = frame.AllocateTable<Acc>(size_t(kSide) * std::max(plan.patterns, 1) * rowSamples);
  const Acc* zeros = frame.AllocateTable<Acc>(paddedSamples);
  if (!lookups || !rowSums || !zeros) return nullptr;
  frame.DiscardAbortQuery();

  const uint8_t* source = frame.sourcePixels();
  const ptrdiff_t count = ptrdiff_t(rowSamples);
  const ptrdiff_t pad = ptrdiff_t(kReach) * channels;
  // Stored row r (clamped into the image) has its row sums in ring slot (r + 2) mod 5.
  const auto slot = [&](int r, int pattern) {
    return rowSums + (size_t((r + 2 * kReach + kSide) % kSide) * plan.patterns + pattern) * rowSamples;
  };
  const auto load = [&](int r) {
    const uint8_t* in = source + ptrdiff_t(ClampToLine(r, height)) * layout.stride;
    for (int w = 0; w < plan.weights; ++w) {
      const int32_t* table = plan.table[w];
      Acc* line = lookups + w * paddedSamples;
      for (ptrdiff_t j = 0; j < count; ++j) line[pad + j] = table[in[j]];
      // Edge pixels repeat: the two on each side copy the first and the last pixel.
      for (ptrdiff_t j = 0; j < pad; ++j) {
        line[j] = line[pad + j % channels];
        line[pad + count + j] = line[pad + count - channels + j % channels];
      }
    }
    for (int p = 0; p < plan.patterns; ++p) {
      const Acc* taps[kSide];
      for (int j = 0; j < kSide; ++j) {
        const int w = plan.cell[p][j];
        taps[j] = (w < 0 ? zeros : lookups + w * paddedSamples) + j * channels;
      }
      SumOfFive(taps, count, slot(r, p));
    }
  };

  // Rows -2 ... 1 first, then row y + 2 before output row y.
  for (int r = -kReach; r < kReach; ++r) load(r);
  for (int y = 0; y < height; ++y) {
    if (!frame.BeginRow(y)) break;
    load(y + kReach);
    const Acc* rows[kSide];
    for (int i = 0; i < kSide; ++i) rows[i] = plan.rowPattern[i] < 0 ? zeros : slot(y - kReach + i, plan.rowPattern[i]);
    LevelsOfFive(rows, count, bias, frame.resultPixels() + ptrdiff_t(y) * layout.stride);
  }
  return frame.Finish();
}

}  // namespace

HGLOBAL UserFilter(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const UserFilterParams*>(record);
  if (params.scale == 0) return nullptr;
  // Rows are stored bottom-up: reversed kernel row i (displayed row 4 - i) weighs stored
  // row y - 2 + i, so the displayed top row weighs the row above in the picture.
  int32_t kernel[kTaps];
  for (int i = 0; i < kSide; ++i) {
    for (int j = 0; j < kSide; ++j) kernel[kSide * i + j] = params.kernel[kSide * (4 - i) + j];
  }

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  int32_t* tables = frame.AllocateTable<int32_t>(kTaps * 256);
  if (!tables) return nullptr;
  for (int k = 0; k < kTaps; ++k) {
    for (int v = 0; v < 256; ++v) tables[256 * k + v] = WeightEntry(v, kernel[k], params.scale);
  }
  const KernelPlan plan = Plan(kernel, tables);
  // Levels stay within +-2^18 (25 entries of at most 2^31 each, over 2^18): a bias held
  // within +-2^19 clamps to the same results and keeps the sum in 32 bits.
  const int32_t bias = std::clamp(params.bias, -(1 << 19), 1 << 19);
  if (plan.largestSum <= INT32_MAX - 131072) return Filter<int32_t>(frame, plan, bias);
  return Filter<int64_t>(frame, plan, bias);
}
