#include "engine/filters/filter_lines.h"

namespace {

// Largest rounded-mean table made; larger divisors divide directly.
constexpr size_t kDivisionTableBudget = size_t{1} << 20;

}  // namespace

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

void RunningTotals(const uint8_t* line, ptrdiff_t length, int unit, uint16_t* totals) {
  uint16_t* next = totals + unit;
  ptrdiff_t k = 0;
#if defined(__SSE2__)
  // Eight totals at a time: shifted adds give each lane the sum of its channel's samples
  // within the register (lanes i, i - unit, i - 2 x unit ...), then the totals before the
  // register are added, each lane taking its channel's last one: lane 7 of the register
  // before for grey rows, lanes 5, 6, 7 repeating (their channels follow lanes 0, 1, 2) for
  // 24-bit rows.
  const __m128i zero = _mm_setzero_si128();
  const int16_t t0 = int16_t(totals[0]), t1 = int16_t(totals[unit > 1 ? 1 : 0]), t2 = int16_t(totals[unit > 2 ? 2 : 0]);
  __m128i carry = unit == 3 ? _mm_setr_epi16(t0, t1, t2, t0, t1, t2, t0, t1) : _mm_set1_epi16(t0);
  const auto scan = [&](__m128i v) {
    if (unit == 3) {
      v = _mm_add_epi16(v, _mm_slli_si128(v, 6));
      v = _mm_add_epi16(v, _mm_slli_si128(v, 12));
    } else {
      v = _mm_add_epi16(v, _mm_slli_si128(v, 2));
      v = _mm_add_epi16(v, _mm_slli_si128(v, 4));
      v = _mm_add_epi16(v, _mm_slli_si128(v, 8));
    }
    v = _mm_add_epi16(v, carry);
    if (unit == 3) {
      carry = _mm_unpackhi_epi64(_mm_shufflehi_epi16(v, _MM_SHUFFLE(1, 3, 2, 1)),
                                 _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 1, 3, 2)));
    } else {
      carry = _mm_shuffle_epi32(_mm_shufflehi_epi16(v, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
    }
    return v;
  };
  if (unit == 1 || unit == 3) {
    for (; k + 16 <= length; k += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + k));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(next + k), scan(_mm_unpacklo_epi8(bytes, zero)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(next + k + 8), scan(_mm_unpackhi_epi8(bytes, zero)));
    }
  }
#endif
  for (; k < length; ++k) next[k] = uint16_t(totals[k] + line[k]);
}

bool BoxMeansAlongRows::Make(RoutineFrame& frame, int n) {
  n_ = n;
  if (n > kMaxShortDivisor || !divide_.Make(n, 255 * n + n / 2)) return false;
  const DibLayout& layout = frame.layout();
  const size_t samples = size_t(layout.width) * size_t(ChannelsOf(layout));
  totals_ = frame.AllocateTable<uint16_t>(samples + size_t(n) * size_t(ChannelsOf(layout)));
  return totals_ != nullptr;
}

void PaddedRowTotals(const RowArgs& a, int n, uint16_t* totals) {
  const int unit = a.channels, back = n / 2, ahead = n - 1 - back;
  const ptrdiff_t count = ptrdiff_t(a.width) * unit;
  for (int c = 0; c < unit; ++c) totals[c] = 0;
  for (int i = 0; i < back; ++i, totals += unit) {
    for (int c = 0; c < unit; ++c) totals[unit + c] = uint16_t(totals[c] + a.in[c]);
  }
  RunningTotals(a.in, count, unit, totals);
  totals += count;
  const uint8_t* last = a.in + count - unit;
  for (int i = 0; i < ahead; ++i, totals += unit) {
    for (int c = 0; c < unit; ++c) totals[unit + c] = uint16_t(totals[c] + last[c]);
  }
}

void BoxMeansAlongRows::operator()(const RowArgs& a) const {
  PaddedRowTotals(a, n_, totals_);
  DivideSums(totals_ + ptrdiff_t(n_) * a.channels, totals_, divide_, a.out, ptrdiff_t(a.width) * a.channels);
}
