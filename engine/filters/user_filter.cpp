// Effect 25, user-defined filter: a 5 x 5 kernel of integer weights as the user sees it,
// divided by a scale, plus a bias. All multiplication and division happen while the 25
// weight tables are built; the inner loop adds table lookups along padded rows.
#include <climits>

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

constexpr int kTaps = 25;
constexpr int kReach = 2;  // rows and columns on each side of the centre

// A kernel position with a nonzero weight: its table and its place in the window.
struct Tap {
  const int32_t* table;
  int row;     // 0 ... 4: stored row y - 2 + row
  int column;  // 0 ... 4: column x - 2 + column
};

// Copies stored row `row` (clamped) into `padded` with two edge pixels repeated on each
// side: sample j of pixel x - 2 + column sits at padded[x x channels + column x channels + j].
void LoadPaddedRow(const uint8_t* source, const DibLayout& layout, int channels, int row, uint8_t* padded) {
  LoadPaddedUnits(source + ptrdiff_t(ClampToLine(row, layout.height)) * layout.stride, channels, layout.width,
                  channels, 2 * kReach + 1, padded);
}

// Entry v of a weight table: v x 262144 x weight / scale + 0.5 in extended precision,
// truncated toward zero, so each entry is the sample's share in 18-bit fixed point.
// Shares beyond the 32-bit range (weights far above the scale) are held at its ends.
int32_t WeightEntry(int v, int32_t weight, int32_t scale) {
  const long double share = static_cast<long double>(v) * 262144 * weight / scale + 0.5L;
  if (share >= static_cast<long double>(INT32_MAX)) return INT32_MAX;
  if (share <= static_cast<long double>(INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(share);
}

// From 18-bit fixed point to a level, halves away from zero.
int64_t RoundFixed18(int64_t acc) { return acc >= 0 ? (acc + 131072) >> 18 : -((131072 - acc) >> 18); }

}  // namespace

HGLOBAL UserFilter(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const UserFilterParams*>(record);
  if (params.scale == 0) return nullptr;
  // Rows are stored bottom-up: reversed kernel row i (displayed row 4 - i) weighs stored
  // row y - 2 + i, so the displayed top row weighs the row above in the picture.
  int32_t kernel[kTaps];
  for (int i = 0; i < 5; ++i) {
    for (int j = 0; j < 5; ++j) kernel[5 * i + j] = params.kernel[5 * (4 - i) + j];
  }

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height;
  const int channels = ChannelsOf(layout);
  int32_t* tables = frame.AllocateTable<int32_t>(kTaps * 256);
  // Five padded window rows, used as a ring, and the row's sums.
  const size_t rowSamples = size_t(width) * channels;
  const size_t paddedSamples = rowSamples + size_t(2 * kReach) * channels;
  uint8_t* padded = frame.AllocateTable<uint8_t>(5 * paddedSamples);
  int64_t* sums = frame.AllocateTable<int64_t>(rowSamples);
  if (!tables || !padded || !sums) return nullptr;
  Tap taps[kTaps];
  int tapCount = 0;
  for (int k = 0; k < kTaps; ++k) {
    int32_t* table = tables + 256 * k;
    for (int v = 0; v < 256; ++v) table[v] = WeightEntry(v, kernel[k], params.scale);
    if (kernel[k] != 0) taps[tapCount++] = Tap{table, k / 5, k % 5};
  }
  frame.DiscardAbortQuery();

  // Stored row r lives in ring slot (r + 2) mod 5 once loaded; rows -2 ... 2 first.
  const uint8_t* source = frame.sourcePixels();
  const auto slot = [&](int r) { return padded + size_t((r + 2 * kReach + 5) % 5) * paddedSamples; };
  for (int r = -kReach; r < kReach; ++r) LoadPaddedRow(source, layout, channels, r, slot(r));
  const int count = static_cast<int>(rowSamples);
  for (int y = 0; y < height; ++y) {
    if (!frame.BeginRow(y)) break;
    LoadPaddedRow(source, layout, channels, y + kReach, slot(y + kReach));
    for (int j = 0; j < count; ++j) sums[j] = 0;
    // One tap at a time along the whole row: fixed offsets, no clamping, no dependent loads.
    for (int k = 0; k < tapCount; ++k) {
      const int32_t* table = taps[k].table;
      const uint8_t* in = slot(y - kReach + taps[k].row) + taps[k].column * channels;
      for (int j = 0; j < count; ++j) sums[j] += table[in[j]];
    }
    uint8_t* out = frame.resultPixels() + ptrdiff_t(y) * layout.stride;
    for (int j = 0; j < count; ++j) {
      out[j] = static_cast<uint8_t>(std::clamp<int64_t>(RoundFixed18(sums[j]) + params.bias, 0, 255));
    }
  }
  return frame.Finish();
}
