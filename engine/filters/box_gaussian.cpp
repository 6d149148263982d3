// Effects 8, 9 and 17: the average blur, the softened box blur and the Gaussian blur, three
// separable blurs over a square window run as a horizontal and a vertical pass.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

namespace {

// Largest n + m the softened blur takes: every sum of the run, up to 255 x (n + m), stays
// well inside 32 bits.
constexpr int64_t kMaxSoftenDivisor = int64_t{1} << 22;

#if defined(__SSE2__)
// The Gaussian sum by parts over centred boxes, for sides from 4 up. Around the centre tap
// h = n / 2 the taps pair up at equal distances i = 1 ... n - 1 - h with nearly equal weights;
// with V_i the smaller weight of pair i (V_0 the centre's) and S_i the sum of the box of taps
// h - i ... h + i, the sum of V_i x (pair i) is the sum of (V_i - V_i+1) x S_i. Left over are
// single taps: the surplus of a pair's heavier tap and, for even n, the first tap. Every term
// is then a box sum, the difference of two 16-bit running totals (no unpacking), times a
// weight mostly far below 2^15, so that most terms need no high half.
constexpr int kMaxBoxTerms = 2 * kMaxSquareSize + 2;
struct GaussianBoxes {
  struct Term {
    int high, low;  // the term is total[high] - total[low], in units from the window's start
    int32_t weight;
  };
  Term terms[kMaxBoxTerms];
  int count = 0;
  void Add(int high, int low, int32_t weight) {
    if (weight != 0) terms[count++] = {high, low, weight};
  }
  void Make(const int32_t* weights, int n) {
    const int h = n / 2, ahead = n - 1 - h;
    int32_t smaller[kMaxSquareSize];
    smaller[0] = weights[h];
    for (int i = 1; i <= ahead; ++i) smaller[i] = std::min(weights[h - i], weights[h + i]);
    for (int i = 0; i <= ahead; ++i) Add(h + i + 1, h - i, smaller[i] - (i < ahead ? smaller[i + 1] : 0));
    for (int i = 1; i <= ahead; ++i) {
      const int heavier = weights[h - i] > weights[h + i] ? h - i : h + i;
      Add(heavier + 1, heavier, weights[heavier] - smaller[i]);
    }
    if (h > ahead) Add(1, 0, weights[0]);
    // Terms with high halves first, so that the pairs past them skip theirs; an even count.
    std::stable_partition(terms, terms + count, [](const Term& t) { return (t.weight >> 15) != 0; });
    if (count % 2) terms[count++] = {1, 0, 0};
  }
};

// out[k] = (524288 + sum over terms t of weights[t] x (highs[t][k] - lows[t][k])) >> 20 for
// k < count, sixteen samples at a time: each weight split as high x 2^15 + low (low below
// 2^15), terms in pairs through 16-bit multiply-adds, the halves meeting as low sums + high
// sums x 2^15. Partial sums may pass 2^31, but the total is below 2^28, so 32-bit sums
// modulo 2^32 give it exactly. The rest one by one.
void GaussianBoxSums(const uint16_t* const* highs, const uint16_t* const* lows, const int32_t* weights, int terms,
                     ptrdiff_t count, uint8_t* out) {
  const int pairs = terms / 2;
  __m128i lowPairs[kMaxBoxTerms / 2], highPairs[kMaxBoxTerms / 2];
  int withHigh = 0;  // the pairs from here on have no high halves
  for (int p = 0; p < pairs; ++p) {
    const int32_t a = weights[2 * p], b = weights[2 * p + 1];
    lowPairs[p] = _mm_set1_epi32((b & 32767) << 16 | (a & 32767));
    highPairs[p] = _mm_set1_epi32(int32_t(uint32_t(b >> 15) << 16) | ((a >> 15) & 65535));
    if ((a >> 15) | (b >> 15)) withHigh = p + 1;
  }
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi32(524288);
  const auto box = [&](int t, ptrdiff_t k) {
    return _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(highs[t] + k)),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(lows[t] + k)));
  };
  ptrdiff_t k = 0;
  for (; k + 16 <= count; k += 16) {
    __m128i low[4] = {half, half, half, half}, high[4] = {zero, zero, zero, zero};
    for (int p = 0; p < pairs; ++p) {
      const __m128i a0 = box(2 * p, k), a1 = box(2 * p, k + 8), b0 = box(2 * p + 1, k), b1 = box(2 * p + 1, k + 8);
      const __m128i ab[4] = {_mm_unpacklo_epi16(a0, b0), _mm_unpackhi_epi16(a0, b0), _mm_unpacklo_epi16(a1, b1),
                             _mm_unpackhi_epi16(a1, b1)};
      for (int q = 0; q < 4; ++q) low[q] = _mm_add_epi32(low[q], _mm_madd_epi16(ab[q], lowPairs[p]));
      if (p < withHigh) {
        for (int q = 0; q < 4; ++q) high[q] = _mm_add_epi32(high[q], _mm_madd_epi16(ab[q], highPairs[p]));
      }
    }
    __m128i sums[4];
    for (int q = 0; q < 4; ++q) sums[q] = _mm_srli_epi32(_mm_add_epi32(low[q], _mm_slli_epi32(high[q], 15)), 20);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sums[0], sums[1]), _mm_packs_epi32(sums[2], sums[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), bytes);
  }
  for (; k < count; ++k) {
    int64_t acc = 524288;
    for (int t = 0; t < terms; ++t) acc += int64_t{weights[t]} * int16_t(highs[t][k] - lows[t][k]);
    out[k] = static_cast<uint8_t>(acc >> 20);
  }
}

// Sides 2 and 3 give every tap but the centre one (n / 2) the same weight A, so the sum is
// 2^20 x centre + A x D with D = (the other taps) - (n - 1) x centre, and the output is
// centre + f(D), f(D) = (A x D + 2^19) >> 20 over |D| <= 255 x (n - 1). f is taken as one
// 16-bit multiply-high, (((D x multiplier) >> 16) + round) >> shift, with the three numbers
// searched and checked against f at every D when the run starts.
struct SmallGaussian {
  int16_t multiplier = 0, round = 0;
  int shift = 0;
  // False when the side is larger or no such numbers are exact (then all taps are summed).
  bool Make(const int32_t* weights, int n) {
    if (n > 3 || (n == 3 && weights[0] != weights[2])) return false;
    const int64_t a = weights[0], range = 255 * (n - 1);
    for (shift = 0; shift < 6; ++shift) {
      const int64_t scaled = (a << shift) / 16;  // A x 2^(16 + shift - 20), rounded down
      for (int64_t m = scaled; m <= scaled + 1 && m < 32768; ++m) {
        for (int64_t r = 0; r <= (int64_t{1} << shift); ++r) {
          bool exact = true;
          for (int64_t d = -range; d <= range && exact; ++d) {
            exact = ((((d * m) >> 16) + r) >> shift) == ((a * d + 524288) >> 20);
          }
          if (exact) {
            multiplier = static_cast<int16_t>(m);
            round = static_cast<int16_t>(r);
            return true;
          }
        }
      }
    }
    return false;
  }
};

// out[k] = centre + f(D) of SmallGaussian for k < count, sixteen samples at a time; the rest
// summed tap by tap.
void SmallGaussianTaps(const uint8_t* const* taps, ptrdiff_t count, const int32_t* weights, int n,
                       const SmallGaussian& g, uint8_t* out) {
  const uint8_t* centre = taps[n / 2];
  const uint8_t* first = taps[0];
  const uint8_t* last = taps[n - 1];  // the centre itself for n = 2: then D = first - centre
  const __m128i zero = _mm_setzero_si128(), multiplier = _mm_set1_epi16(g.multiplier);
  const __m128i round = _mm_set1_epi16(g.round), shift = _mm_cvtsi32_si128(g.shift);
  const auto correct = [&](__m128i c, __m128i a, __m128i b) {
    const __m128i d = _mm_sub_epi16(_mm_add_epi16(a, b), _mm_add_epi16(c, c));
    return _mm_add_epi16(c, _mm_sra_epi16(_mm_add_epi16(_mm_mulhi_epi16(d, multiplier), round), shift));
  };
  ptrdiff_t k = 0;
  for (; k + 16 <= count; k += 16) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(centre + k));
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + k));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(last + k));
    const __m128i low = correct(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
    const __m128i high = correct(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(low, high));
  }
  for (; k < count; ++k) {
    int32_t acc = 524288;
    for (int j = 0; j < n; ++j) acc += weights[j] * taps[j][k];
    out[k] = static_cast<uint8_t>(acc >> 20);
  }
}
#endif

}  // namespace

HGLOBAL AverageBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int n = static_cast<const FilterSizeParams*>(record)->squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  BoxMeansAlongRows along;
  const RowRing ring = AllocateRing(frame, n);
  ColumnSums<uint16_t> columns;
  // A missing working table ends the run without an image.
  if (!along.Make(frame, n) || !ring.rows || !columns.Make(frame, ring)) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  RunFusedPasses(frame, n, ring, along, [&](int y, uint8_t* out, const uint8_t* source) {
    if (y == 0) columns.Start(ring, n);
    DivideAndSlide(columns.sums(), columns.Entering(ring, n, y), columns.Leaving(ring, n, y), source, 0,
                   along.division(), out, ring.bytes);
  });
  return frame.Finish();
}

HGLOBAL SoftenedBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const SoftenParams*>(record);
  const int n = std::max<int32_t>(params.squareSize, 2);
  const int m = params.centerWeight;
  // A negative centre weight would index below the division table: refused.
  if (m < 0) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const int64_t blend = int64_t{n} + m;
  if (blend > kMaxSoftenDivisor) return nullptr;
  const RowRing ring = AllocateRing(frame, n);
  if (!ring.rows) return nullptr;
  frame.CopyHeaderAndPalette();

  // Up to n + m = 256 everything runs in 16 bits over whole rows: the vertical box sum
  // blended with the source pixel, (S + m x source + (n + m) / 2) / (n + m), by multiply and
  // shift.
  BoxMeansAlongRows along;
  ShortDivision blended;
  if (blend <= kMaxShortDivisor && along.Make(frame, n) &&
      blended.Make(static_cast<int>(blend), static_cast<int>(255 * blend + blend / 2))) {
    ColumnSums<uint16_t> columns;
    if (!columns.Make(frame, ring)) return nullptr;
    frame.DiscardAbortQuery();
    RunFusedPasses(frame, n, ring, along, [&](int y, uint8_t* out, const uint8_t* source) {
      if (y == 0) columns.Start(ring, n);
      DivideAndSlide(columns.sums(), columns.Entering(ring, n, y), columns.Leaving(ring, n, y), source, m, blended,
                     out, ring.bytes);
    });
    return frame.Finish();
  }

  // Larger sides and weights: 32-bit sums, rounded means from tables up to a fixed budget
  // (nothing here grows with n or m beyond that) and rows summed with clamped positions.
  RoundedMean mean, blendedMean;
  ColumnSums<int32_t> columns;
  if (!mean.Make(frame, n) || !blendedMean.Make(frame, static_cast<int>(blend)) || !columns.Make(frame, ring)) {
    return nullptr;
  }
  int products[256];  // v x m
  for (int v = 0; v < 256; ++v) products[v] = v * m;
  frame.DiscardAbortQuery();
  const auto clampedMeans = [&](const RowArgs& a) {
    for (int c = 0; c < a.channels; ++c) {
      const uint8_t* in = a.in + c;
      uint8_t* out = a.out + c;
      const int step = a.channels;
      ForEachBoxSum(a.width, n, [&](int i) { return int(in[i * step]); },
                    [&](int p, int sum) { out[p * step] = mean(sum); });
    }
  };
  RunFusedPasses(frame, n, ring, clampedMeans, [&](int y, uint8_t* out, const uint8_t* source) {
    if (y == 0) columns.Start(ring, n);
    const int32_t* sums = columns.sums();
    for (ptrdiff_t k = 0; k < ring.bytes; ++k) out[k] = blendedMean(sums[k] + products[source[k]]);
    columns.Slide(ring, n, y);
  });
  return frame.Finish();
}

void GaussianWeights(int n, int32_t* weights) {
  const int h = n / 2;
  double w[kMaxSquareSize];
  double sum = 0;
  for (int j = 0; j < n; ++j) {
    const double t = static_cast<double>(std::abs(j - h)) / h;
    w[j] = std::pow(2.7182818, -2 * t * t);
    sum += w[j];
  }
  const double scale = 1048576 / sum;
  int64_t total = 0;
  for (int j = 0; j < n; ++j) {
    weights[j] = static_cast<int32_t>(w[j] * scale + 0.5);
    total += weights[j];
  }
  // Rounding leaves the sum a few units off 2^20: move the middle weights by one each.
  const int64_t d = total - 1048576;
  const int k = static_cast<int>(std::min<int64_t>(std::abs(d), n));
  for (int j = (n - k) / 2; j < (n - k) / 2 + k; ++j) weights[j] += d > 0 ? -1 : 1;
}

HGLOBAL GaussianBlur(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const int n = static_cast<const FilterSizeParams*>(record)->squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const DibLayout& layout = frame.layout();
  const int channels = ChannelsOf(layout);
  const RowRing ring = AllocateRing(frame, n);
  if (!ring.rows) return nullptr;
  int32_t weights[kMaxSquareSize];
  GaussianWeights(n, weights);
  const int back = n / 2, ahead = n - 1 - back;
#if defined(__SSE2__)
  SmallGaussian smallGaussian;
  if (!smallGaussian.Make(weights, n)) {
    // Box sums over running totals: those of each padded row, and those of the padded column
    // of rows, total row q being the sum of rows clamp(0 - back) ... clamp(q - 1 - back). The
    // total rows y ... y + n serve output row y; a ring of n + 2 of them, an odd number of
    // cache lines apart (see AllocateRing).
    GaussianBoxes boxes;
    boxes.Make(weights, n);
    const int totalRows = n + 2;
    const ptrdiff_t totalStride = ((ring.bytes * 2) / 128 + 1) * 64 + 32;  // in totals
    uint16_t* rowTotals = frame.AllocateTable<uint16_t>(size_t(layout.width + n) * channels);
    uint16_t* columnTotals = frame.AllocateTable<uint16_t>(size_t(totalRows) * size_t(totalStride));
    if (!rowTotals || !columnTotals) return nullptr;
    frame.CopyHeaderAndPalette();
    frame.DiscardAbortQuery();
    int32_t termWeights[kMaxBoxTerms];
    for (int t = 0; t < boxes.count; ++t) termWeights[t] = boxes.terms[t].weight;
    const uint16_t* highs[kMaxBoxTerms];
    const uint16_t* lows[kMaxBoxTerms];
    const auto horizontal = [&](const RowArgs& a) {
      PaddedRowTotals(a, n, rowTotals);
      for (int t = 0; t < boxes.count; ++t) {
        highs[t] = rowTotals + boxes.terms[t].high * channels;
        lows[t] = rowTotals + boxes.terms[t].low * channels;
      }
      GaussianBoxSums(highs, lows, termWeights, boxes.count, ring.bytes, a.out);
    };
    const auto totalRow = [&](int q) { return columnTotals + ptrdiff_t(q % totalRows) * totalStride; };
    int madeTotals = 0;
    const auto vertical = [&](int y, uint8_t* out, const uint8_t*) {
      for (; madeTotals <= y + n; ++madeTotals) {
        uint16_t* total = totalRow(madeTotals);
        if (madeTotals == 0) {
          std::fill_n(total, ring.bytes, uint16_t{0});
          continue;
        }
        const uint16_t* before = totalRow(madeTotals - 1);
        const uint8_t* row = ring.Row(madeTotals - 1 - back);
        for (ptrdiff_t k = 0; k < ring.bytes; ++k) total[k] = uint16_t(before[k] + row[k]);
      }
      for (int t = 0; t < boxes.count; ++t) {
        highs[t] = totalRow(y + boxes.terms[t].high);
        lows[t] = totalRow(y + boxes.terms[t].low);
      }
      GaussianBoxSums(highs, lows, termWeights, boxes.count, ring.bytes, out);
    };
    RunFusedPasses(frame, n, ring, horizontal, vertical);
    return frame.Finish();
  }
#else
  int32_t* sums = frame.AllocateTable<int32_t>(size_t(ring.bytes));
  uint16_t* highSums = frame.AllocateTable<uint16_t>(size_t(ring.bytes));
  if (!sums || !highSums) return nullptr;
  // Each weight as high x 2^15 + low: sample x low fits the 16-bit multiplies the compiler
  // vectorises well, and the high parts (they add up to at most 32) sum to at most 255 x 32
  // per sample, which 16 bits hold.
  int16_t low[kMaxSquareSize];
  uint16_t high[kMaxSquareSize];
  for (int j = 0; j < n; ++j) {
    low[j] = static_cast<int16_t>(weights[j] & 32767);
    high[j] = static_cast<uint16_t>(weights[j] >> 15);
  }
#endif
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  // 20-bit fixed point: the weights sum to 2^20, so the rounded result needs no clamp and
  // the sums (below 2^28) no wider type. taps[j] is the line under weight j.
  const auto accumulate = [&](const uint8_t* const* taps, ptrdiff_t count, uint8_t* out) {
#if defined(__SSE2__)
    SmallGaussianTaps(taps, count, weights, n, smallGaussian, out);
#else
    for (ptrdiff_t k = 0; k < count; ++k) sums[k] = 524288;
    for (ptrdiff_t k = 0; k < count; ++k) highSums[k] = 0;
    for (int j = 0; j < n; ++j) {
      const uint8_t* tap = taps[j];
      const int16_t w = low[j];
      const uint16_t h = high[j];
      for (ptrdiff_t k = 0; k < count; ++k) {
        sums[k] += int32_t(int16_t(tap[k])) * w;
        highSums[k] = uint16_t(highSums[k] + tap[k] * h);
      }
    }
    for (ptrdiff_t k = 0; k < count; ++k) {
      out[k] = static_cast<uint8_t>((uint32_t(sums[k]) + (uint32_t(highSums[k]) << 15)) >> 20);
    }
#endif
  };
  const uint8_t* taps[kMaxSquareSize];
  // Along a row the pixels whose windows lie inside it, back ... width - 1 - ahead, are
  // summed straight from the source row; those at the ends, whose windows clamp, over a short
  // copy of the end padded with the edge pixel.
  uint8_t endLine[2 * kMaxSquareSize * 3];
  const auto horizontal = [&](const RowArgs& a) {
    const auto ends = [&](int from, int to) {  // pixels from ... to - 1
      if (from >= to) return;
      uint8_t* line = endLine;
      for (int i = from - back; i < to + ahead; ++i, line += channels) {
        std::copy_n(a.in + ClampToLine(i, a.width) * channels, channels, line);
      }
      for (int j = 0; j < n; ++j) taps[j] = endLine + j * channels;
      accumulate(taps, ptrdiff_t(to - from) * channels, a.out + from * channels);
    };
    const int inside = std::max(back, a.width - ahead);
    if (inside > back) {
      for (int j = 0; j < n; ++j) taps[j] = a.in + j * channels;
      accumulate(taps, ptrdiff_t(inside - back) * channels, a.out + back * channels);
    }
    ends(0, std::min(back, a.width));
    ends(inside, a.width);
  };
  const auto vertical = [&](int y, uint8_t* out, const uint8_t*) {
    for (int j = 0; j < n; ++j) taps[j] = ring.Row(y - n / 2 + j);
    accumulate(taps, ring.bytes, out);
  };
  RunFusedPasses(frame, n, ring, horizontal, vertical);
  return frame.Finish();
}
