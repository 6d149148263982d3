#include "engine/filters/filter_lines.h"

void LoadPaddedLine(const uint8_t* first, ptrdiff_t step, int length, int n, uint8_t* line) {
  const int back = n / 2;
  const int ahead = n - back;  // n - 1 - back positions past the end, plus the entering sample
  const uint8_t head = first[0];
  const uint8_t tail = first[ptrdiff_t(length - 1) * step];
  for (int i = 0; i < back; ++i) *line++ = head;
  for (int p = 0; p < length; ++p, first += step) *line++ = *first;
  for (int i = 0; i < ahead; ++i) *line++ = tail;
}

void FillDivisionTable(uint8_t* table, int divisor) {
  const int half = divisor / 2;
  const int entries = 256 * divisor;
  // Sums reach 255 x divisor at most; the few entries above that would round to 256.
  for (int k = 0; k < entries; ++k) table[k] = static_cast<uint8_t>(std::min((k + half) / divisor, 255));
}
