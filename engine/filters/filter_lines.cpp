#include "engine/filters/filter_lines.h"

#include <cstring>

namespace {

// Largest rounded-mean table made; larger divisors divide directly.
constexpr size_t kDivisionTableBudget = size_t{1} << 20;

}  // namespace

void LoadPaddedUnits(const uint8_t* first, ptrdiff_t step, int length, int unit, int n, uint8_t* line) {
  const int back = n / 2;
  const int ahead = n - 1 - back;  // positions past the end reached by the last window
  const uint8_t* tail = first + ptrdiff_t(length - 1) * step;
  const size_t bytes = size_t(unit);
  for (int i = 0; i < back; ++i, line += unit) std::copy_n(first, bytes, line);
  if (step == unit) {  // a whole row: one copy
    std::memcpy(line, first, size_t(length) * bytes);
    line += ptrdiff_t(length) * unit;
  } else {
    for (int p = 0; p < length; ++p, first += step, line += unit) std::memcpy(line, first, bytes);
  }
  for (int i = 0; i < ahead; ++i, line += unit) std::copy_n(tail, bytes, line);
}

bool RoundedMean::Make(RoutineFrame& frame, int divisor) {
  divisor_ = divisor;
  half_ = divisor / 2;
  table_ = nullptr;
  if (size_t(divisor) * 256 > kDivisionTableBudget) return true;
  uint8_t* table = frame.AllocateTable<uint8_t>(size_t(divisor) * 256);
  if (!table) return false;
  // Sums reach 255 x divisor at most; the few entries above that would round to 256.
  const int entries = 256 * divisor;
  for (int k = 0; k < entries; ++k) table[k] = static_cast<uint8_t>(std::min((k + half_) / divisor, 255));
  table_ = table;
  return true;
}
