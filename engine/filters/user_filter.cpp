// Effect 25, user-defined filter: a 5 x 5 kernel of integer weights as the user sees it,
// divided by a scale, plus a bias. All multiplication and division happen while the 25
// weight tables are built; the inner loop adds table lookups through clamped offsets.
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
  uint32_t* rowOffsets = frame.AllocateTable<uint32_t>(size_t(height) + 2 * kReach + 1);
  uint32_t* columnOffsets = frame.AllocateTable<uint32_t>(size_t(width) + 2 * kReach + 1);
  if (!tables || !rowOffsets || !columnOffsets) return nullptr;
  Tap taps[kTaps];
  int tapCount = 0;
  for (int k = 0; k < kTaps; ++k) {
    int32_t* table = tables + 256 * k;
    for (int v = 0; v < 256; ++v) table[v] = WeightEntry(v, kernel[k], params.scale);
    if (kernel[k] != 0) taps[tapCount++] = Tap{table, k / 5, k % 5};
  }
  // Entry r + 2 for r = -2 ... height + 2 (and likewise for columns): the offset of the
  // clamped row or column, so edge pixels repeat.
  for (int r = -kReach; r <= height + kReach; ++r) {
    rowOffsets[r + kReach] = uint32_t(ClampToLine(r, height)) * layout.stride;
  }
  for (int c = -kReach; c <= width + kReach; ++c) {
    columnOffsets[c + kReach] = uint32_t(ClampToLine(c, width)) * channels;
  }
  frame.DiscardAbortQuery();

  const uint8_t* source = frame.sourcePixels();
  for (int y = 0; y < height; ++y) {
    if (!frame.BeginRow(y)) break;
    // Window row i of output row y is stored row y - 2 + i, at rowOffsets[y + i].
    const uint8_t* rows[5];
    for (int i = 0; i < 5; ++i) rows[i] = source + rowOffsets[y + i];
    uint8_t* out = frame.resultPixels() + ptrdiff_t(y) * layout.stride;
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        int64_t acc = 0;
        for (int k = 0; k < tapCount; ++k) {
          const Tap& tap = taps[k];
          acc += tap.table[rows[tap.row][columnOffsets[x + tap.column] + c]];
        }
        out[x * channels + c] = static_cast<uint8_t>(std::clamp<int64_t>(RoundFixed18(acc) + params.bias, 0, 255));
      }
    }
  }
  return frame.Finish();
}
