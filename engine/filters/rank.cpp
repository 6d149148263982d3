// Effects 20 and 21: order-statistic filters over a square window. The maximum and minimum
// are separable (two passes); the median counts its windows in histograms, per column when they
// fit a budget, else along each row; the smallest windows use selection networks.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"
#include "engine/wide_kernels.h"

// The helpers below take ThirtyTwoSamples vectors by value; they are all inlined, so the note
// that such arguments pass differently without AVX concerns no call.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

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

// Whole-row loops of the order-statistic filters: each body is written once over these
// operations and runs on sixteen samples at a time with SSE2, then on one at a time. Prefetch
// asks for the source row that the next result row reads first while the current row is still
// being worked on, so that the next row need not wait for memory.
struct OneSample {
  using Vector = uint8_t;
  static Vector Load(const uint8_t* p) { return *p; }
  static void Store(uint8_t* p, Vector v) { *p = v; }
  static Vector Min(Vector a, Vector b) { return std::min(a, b); }
  static Vector Max(Vector a, Vector b) { return std::max(a, b); }
  static void Prefetch(const uint8_t*) {}
};

#if defined(__SSE2__)
struct SixteenSamples {
  using Vector = __m128i;
  static Vector Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void Store(uint8_t* p, Vector v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static Vector Min(Vector a, Vector b) { return _mm_min_epu8(a, b); }
  static Vector Max(Vector a, Vector b) { return _mm_max_epu8(a, b); }
  static void Prefetch(const uint8_t* p) { _mm_prefetch(reinterpret_cast<const char*>(p), _MM_HINT_T0); }
};
#endif

// body(ops, k) over samples 0 ... count - 1 in order: ThirtyTwoSamples at k, k + 32, ... while
// thirty-two remain (kWide: in the wide builds of the kernels), then SixteenSamples (SSE2),
// then OneSample for the rest. Each step reads all its samples before it stores any, so a body
// that updates a line in place from samples at or ahead of k gives the same bytes as one sample
// at a time.
template <bool kWide, typename Body>
FXUI_KERNEL_BODY void ForEachSample(ptrdiff_t count, Body body) {
  ptrdiff_t k = 0;
#if defined(__GNUC__)
  if constexpr (kWide) {
    for (; k + 32 <= count; k += 32) body(ThirtyTwoSamples{}, k);
  }
#endif
#if defined(__SSE2__)
  for (; k + 16 <= count; k += 16) body(SixteenSamples{}, k);
#endif
  for (; k < count; ++k) body(OneSample{}, k);
}

template <bool kMaximum, typename Ops>
inline typename Ops::Vector Pick(typename Ops::Vector a, typename Ops::Vector b) {
  if constexpr (kMaximum) {
    return Ops::Max(a, b);
  } else {
    return Ops::Min(a, b);
  }
}

// out[k] = the larger (smaller) of a[k] and b[k]; out may be a, and b may lie ahead of a in
// the same line.
template <bool kMaximum, bool kWide>
FXUI_KERNEL_BODY void PickLines(const uint8_t* a, const uint8_t* b, uint8_t* out, ptrdiff_t count) {
  ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t k) {
    using Ops = decltype(ops);
    Ops::Store(out + k, Pick<kMaximum, Ops>(Ops::Load(a + k), Ops::Load(b + k)));
  });
}

// The largest (or smallest) sample of each window. The extreme of a square is the extreme of
// its rows' extremes in either order, so each result row is finished in the row pass: down
// the columns first, over the source rows, then along the row. The column pass then only
// makes its abort tests and progress reports.
//
// Down the columns (van Herk / Gil-Werman): with padded row p standing for source row
// clamp(p - n / 2), the window of result row y is padded rows y ... y + n - 1. Cut the padded
// rows into blocks of n; for y in the block starting at b the window is the block's rows y ...
// b + n - 1 (suffix extremes, made when y reaches b) and the next block's rows b + n ...
// y + n - 1 (a running extreme, one row more per result row): about three operations a
// sample whatever n is. Windows of two or three rows are picked directly.
//
// Along the row, over a padded line: doubling passes leave unit i holding the extreme of
// units i ... i + s - 1 for s = P / 2, P the largest power of two <= n; the window of x,
// units x ... x + n - 1, is then covered by those of units x, x + s (when r = n - P is
// larger than s), x + r and x + r + s.
//
// `suffixes` holds n - 1 rows, `running` one, `line` width + n - 1 pixels.
template <bool kMaximum, bool kWide>
FXUI_KERNEL_BODY void RunExtremeRows(RoutineFrame& frame, int n, uint8_t* suffixes, uint8_t* running, uint8_t* line) {
  const DibLayout& layout = frame.layout();
  const int width = layout.width, height = layout.height, channels = ChannelsOf(layout);
  const ptrdiff_t count = ptrdiff_t(width) * channels, stride = layout.stride;
  const int h = n / 2;
  const uint8_t* source = frame.sourcePixels();
  const auto padded = [&](int p) { return source + ptrdiff_t(ClampToLine(p - h, height)) * stride; };
  uint8_t* centre = line + ptrdiff_t(h) * channels;
  const uint8_t* suffix[kMaxSquareSize];  // suffix[i]: rows b + i ... b + n - 1
  const uint8_t* prefix = nullptr;        // rows b + n ... y + n - 1
  int s = 1;
  while (s * 4 <= n) s *= 2;
  const ptrdiff_t half = ptrdiff_t(s) * channels, rest = ptrdiff_t(n - 2 * s) * channels;
  const bool four = n - 2 * s > s;

  for (int y = 0; y < height; ++y) {
    if (!frame.BeginPassStep(y, height, 0, 50)) return;
    const int b = y - y % n, i = y - b;
    if (n <= 3) {
      // Windows of two or three rows pick them directly: fewer loads and stores (for n = 2
      // the last row is taken twice).
      const uint8_t *r0 = padded(y), *r1 = padded(y + 1), *r2 = padded(y + n - 1);
      ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t k) {
        using Ops = decltype(ops);
        const auto v = Pick<kMaximum, Ops>(Ops::Load(r0 + k), Ops::Load(r1 + k));
        Ops::Store(centre + k, Pick<kMaximum, Ops>(v, Ops::Load(r2 + k)));
      });
    } else if (i == 0) {
      suffix[n - 1] = padded(b + n - 1);
      for (int k = n - 2; k > 0; --k) {
        uint8_t* row = suffixes + (k - 1) * count;
        PickLines<kMaximum, kWide>(padded(b + k), suffix[k + 1], row, count);
        suffix[k] = row;
      }
      PickLines<kMaximum, kWide>(padded(b), suffix[1], centre, count);
    } else if (i == 1) {
      prefix = padded(b + n);
      PickLines<kMaximum, kWide>(suffix[1], prefix, centre, count);
    } else {
      const uint8_t* entering = padded(y + n - 1);
      const uint8_t* within = suffix[i];
      ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t k) {
        using Ops = decltype(ops);
        const auto r = Pick<kMaximum, Ops>(Ops::Load(prefix + k), Ops::Load(entering + k));
        Ops::Store(running + k, r);
        Ops::Store(centre + k, Pick<kMaximum, Ops>(Ops::Load(within + k), r));
      });
      prefix = running;
    }

    for (int k = 0; k < h; ++k) std::memcpy(line + k * channels, centre, size_t(channels));
    for (int k = 0; k < n - 1 - h; ++k) {
      std::memcpy(centre + count + k * channels, centre + count - channels, size_t(channels));
    }
    for (int span = 1; span < s; span *= 2) {
      PickLines<kMaximum, kWide>(line, line + span * channels, line, ptrdiff_t(width + n - 1 - span) * channels);
    }
    uint8_t* out = frame.resultPixels() + y * stride;
    const uint8_t* next = padded(y + n);  // the next result row's new source row
    ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t k) {
      using Ops = decltype(ops);
      const uint8_t* x = line + k;
      auto v = Pick<kMaximum, Ops>(Ops::Load(x), Ops::Load(x + rest));
      v = Pick<kMaximum, Ops>(v, Ops::Load(x + rest + half));
      if (four) v = Pick<kMaximum, Ops>(v, Ops::Load(x + half));
      Ops::Store(out + k, v);
      if (k % 64 == 0) Ops::Prefetch(next + k);
    });
  }
  for (int x = 0; x < width; ++x) {
    if (!frame.BeginPassStep(x, width, 50, 50)) return;
  }
}

// The routine's rows in the baseline build and in the wide one (see wide_kernels.h).
template <bool kMaximum>
void RunExtremeRowsBaseline(RoutineFrame& frame, int n, uint8_t* suffixes, uint8_t* running, uint8_t* line) {
  RunExtremeRows<kMaximum, false>(frame, n, suffixes, running, line);
}
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
template <bool kMaximum>
__attribute__((target("avx2"))) void RunExtremeRowsWide(RoutineFrame& frame, int n, uint8_t* suffixes,
                                                         uint8_t* running, uint8_t* line) {
  RunExtremeRows<kMaximum, true>(frame, n, suffixes, running, line);
}
#endif
template <bool kMaximum>
void RunExtremes(RoutineFrame& frame, int n, uint8_t* suffixes, uint8_t* running, uint8_t* line) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  if (WideKernels()) return RunExtremeRowsWide<kMaximum>(frame, n, suffixes, running, line);
#endif
  RunExtremeRowsBaseline<kMaximum>(frame, n, suffixes, running, line);
}

}  // namespace

HGLOBAL MaximumMinimum(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const FilterSizeParams*>(record);
  const int n = params.squareSize;
  if (!IsSquareSize(n)) return nullptr;

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  const DibLayout& layout = frame.layout();
  const int channels = ChannelsOf(layout);
  const size_t count = size_t(layout.width) * channels;
  uint8_t* suffixes = frame.AllocateTable<uint8_t>(count * size_t(n - 1));
  uint8_t* running = frame.AllocateTable<uint8_t>(count);
  uint8_t* line = frame.AllocateTable<uint8_t>((size_t(layout.width) + size_t(n - 1)) * channels);
  if (!suffixes || !running || !line) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  if (params.maximum != 0) {
    RunExtremes<true>(frame, n, suffixes, running, line);
  } else {
    RunExtremes<false>(frame, n, suffixes, running, line);
  }
  return frame.Finish();
}

namespace {

// Column histograms of the median take 272 bytes per sample column: made up to this budget or
// four times the picture, whichever is larger; wider and shorter pictures keep to the running
// histogram along each row.
constexpr size_t kColumnHistogramBudget = size_t{4} << 20;

// Column histograms of the median: for each sample column (pixel x channel) the counts of
// the n samples of its current window, by level (256 fine bins) and by level / 16 (16
// coarse bins). Counts stay below 33, so bytes hold them.
struct ColumnHistograms {
  uint8_t* fine;
  uint8_t* coarse;
  int columns;

  // The 16 fine counts of coarse bin `bin` in sample column j.
  const uint8_t* Fine(int bin, ptrdiff_t j) const { return fine + j * 256 + bin * 16; }

  void Add(const uint8_t* row) {
    for (int j = 0; j < columns; ++j) {
      ++fine[ptrdiff_t(j) * 256 + row[j]];
      ++coarse[ptrdiff_t(j) * 16 + (row[j] >> 4)];
    }
  }
  // One pass over the columns: each loses its sample of `leaving` and gains that of `entering`.
  void Replace(const uint8_t* leaving, const uint8_t* entering) {
    uint8_t* f = fine;
    uint8_t* c = coarse;
    for (int j = 0; j < columns; ++j, f += 256, c += 16) {
      --f[leaving[j]];
      ++f[entering[j]];
      --c[leaving[j] >> 4];
      ++c[entering[j] >> 4];
    }
  }
};

// Sixteen window counts of the median (coarse bins, or the levels of one coarse bin), each at
// most 32 x 32, as 16-bit lanes. With SSE2 each operation is a few whole-register steps
// (unaligned loads and stores: the 32-bit build's stack keeps no 16-byte alignment); the plain
// loops give the same counts.
struct Counts16 {
  uint16_t v[16];
};

// counts += add - remove, lane by lane (add and remove are one column's byte counts).
inline void Slide16(Counts16& counts, const uint8_t* add, const uint8_t* remove) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add));
  const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(remove));
  __m128i* v = reinterpret_cast<__m128i*>(counts.v);
  const __m128i low = _mm_loadu_si128(v), high = _mm_loadu_si128(v + 1);
  _mm_storeu_si128(v, _mm_sub_epi16(_mm_add_epi16(low, _mm_unpacklo_epi8(a, zero)), _mm_unpacklo_epi8(r, zero)));
  _mm_storeu_si128(v + 1, _mm_sub_epi16(_mm_add_epi16(high, _mm_unpackhi_epi8(a, zero)), _mm_unpackhi_epi8(r, zero)));
#else
  for (int l = 0; l < 16; ++l) counts.v[l] = uint16_t(counts.v[l] + add[l] - remove[l]);
#endif
}

// counts += add, lane by lane.
inline void Add16(Counts16& counts, const uint8_t* add) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add));
  __m128i* v = reinterpret_cast<__m128i*>(counts.v);
  _mm_storeu_si128(v, _mm_add_epi16(_mm_loadu_si128(v), _mm_unpacklo_epi8(a, zero)));
  _mm_storeu_si128(v + 1, _mm_add_epi16(_mm_loadu_si128(v + 1), _mm_unpackhi_epi8(a, zero)));
#else
  for (int l = 0; l < 16; ++l) counts.v[l] = uint16_t(counts.v[l] + add[l]);
#endif
}

// counts = the sum of `terms` columns' byte counts, at(k) giving column k's sixteen, kept in
// registers until the end.
template <typename At>
inline void SumOf16(Counts16& counts, int terms, At at) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  __m128i low = zero, high = zero;
  for (int k = 0; k < terms; ++k) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at(k)));
    low = _mm_add_epi16(low, _mm_unpacklo_epi8(a, zero));
    high = _mm_add_epi16(high, _mm_unpackhi_epi8(a, zero));
  }
  __m128i* v = reinterpret_cast<__m128i*>(counts.v);
  _mm_storeu_si128(v, low);
  _mm_storeu_si128(v + 1, high);
#else
  counts = Counts16{};
  for (int k = 0; k < terms; ++k) Add16(counts, at(k));
#endif
}

// The first lane whose cumulative count (lanes 0 ... lane) reaches `need`, which the total
// of the sixteen reaches; `before` gets the cumulative count of the lanes below it. No
// branches: the cumulative counts rise, so the lanes falling short are the lowest ones.
inline int Select16(const Counts16& counts, int need, int& before) {
#if defined(__SSE2__)
  const __m128i* v = reinterpret_cast<const __m128i*>(counts.v);
  __m128i low = _mm_loadu_si128(v), high = _mm_loadu_si128(v + 1);
  low = _mm_add_epi16(low, _mm_slli_si128(low, 2));
  high = _mm_add_epi16(high, _mm_slli_si128(high, 2));
  low = _mm_add_epi16(low, _mm_slli_si128(low, 4));
  high = _mm_add_epi16(high, _mm_slli_si128(high, 4));
  low = _mm_add_epi16(low, _mm_slli_si128(low, 8));
  high = _mm_add_epi16(high, _mm_slli_si128(high, 8));
  high = _mm_add_epi16(high, _mm_shuffle_epi32(_mm_shufflehi_epi16(low, 0xFF), 0xFF));
  const __m128i goal = _mm_set1_epi16(static_cast<int16_t>(need));
  const int shortMask = _mm_movemask_epi8(_mm_packs_epi16(_mm_cmplt_epi16(low, goal), _mm_cmplt_epi16(high, goal)));
  const int lane = __builtin_ctz(static_cast<unsigned>(~shortMask));
  uint16_t cumulative[17];
  cumulative[0] = 0;
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cumulative + 1), low);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cumulative + 9), high);
  before = cumulative[lane];
  return lane;
#else
  int cumulative = 0, lane = 0;
  while (cumulative + counts.v[lane] < need) cumulative += counts.v[lane++];
  before = cumulative;
  return lane;
#endif
}

// One stored row of one channel from the column histograms: the window's coarse counts
// slide along the row (16 additions per step), and the fine counts of a coarse bin are
// brought up to the current position only when the median falls into that bin, by sliding
// when they are a few columns behind or by summing the window's columns afresh. The median
// is unique, so this gives the same levels as any other exact count.
void MedianRowFromColumns(const ColumnHistograms& columns, int channel, int channels, int width, int n,
                          int target, uint8_t* out) {
  const int h = n / 2;
  const auto column = [&](int x) { return ptrdiff_t(ClampToLine(x, width)) * channels + channel; };
  Counts16 coarse = {};
  Counts16 fine[16];
  int fineAt[16];  // the position each bin's fine counts belong to; below -n when never made
  for (int b = 0; b < 16; ++b) fineAt[b] = -2 * n - 2;
  SumOf16(coarse, n, [&](int k) { return columns.coarse + column(k - h) * 16; });
  for (int x = 0; x < width; ++x) {
    int below = 0;
    const int bin = Select16(coarse, target, below);
    Counts16& f = fine[bin];
    if ((x - fineAt[bin]) * 2 > n) {
      SumOf16(f, n, [&](int k) { return columns.Fine(bin, column(x - h + k)); });
    } else {
      for (int at = fineAt[bin] + 1; at <= x; ++at) {
        const ptrdiff_t leaving = column(at - 1 - h), entering = column(at - 1 - h + n);
        if (leaving == entering) continue;
        Slide16(f, columns.Fine(bin, entering), columns.Fine(bin, leaving));
      }
    }
    fineAt[bin] = x;
    int belowLevel = 0;
    const int level = Select16(f, target - below, belowLevel);
    out[ptrdiff_t(x) * channels] = static_cast<uint8_t>(bin * 16 + level);

    const ptrdiff_t leaving = column(x - h), entering = column(x - h + n);
    if (leaving == entering) continue;
    Slide16(coarse, columns.coarse + entering * 16, columns.coarse + leaving * 16);
  }
}

// Medians of the smallest windows by selection networks over whole rows: each window column
// is sorted first (n values down a column), then the sorted columns of neighbouring pixels
// are merged. `lo`, `mid` and `hi` have room for width x channels + 32 samples: the sorted
// columns start 16 in (aligned stores when the rows are), with the edge pixels repeated just
// outside them. n = 2: the second smallest of two sorted pairs is min(max(lows), min(highs)).
// n = 3: the median of nine is the median of the largest low, the median middle and the
// smallest high of three sorted columns. `next` is prefetched while the row is merged.
template <typename Ops>
inline typename Ops::Vector Median3(typename Ops::Vector a, typename Ops::Vector b, typename Ops::Vector c) {
  return Ops::Max(Ops::Min(a, b), Ops::Min(Ops::Max(a, b), c));
}

struct NetworkRowArgs {
  const uint8_t* above;
  const uint8_t* row;
  const uint8_t* below;  // null for n = 2
  int width;
  int channels;
  uint8_t* lo;
  uint8_t* mid;
  uint8_t* hi;
  uint8_t* out;
  const uint8_t* next;
};

template <bool kWide>
FXUI_KERNEL_BODY void MedianNetworkRowBody(const NetworkRowArgs& args) {
  const uint8_t *above = args.above, *row = args.row, *below = args.below, *next = args.next;
  const int channels = args.channels;
  uint8_t *lo = args.lo, *mid = args.mid, *hi = args.hi, *out = args.out;
  const ptrdiff_t count = ptrdiff_t(args.width) * channels, step = channels;
  // Column sorts, then one pixel of padding at each end repeating the edge pixel.
  uint8_t* l = lo + 16;
  uint8_t* m = mid + 16;
  uint8_t* h = hi + 16;
  if (below) {
    ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t j) {
      using Ops = decltype(ops);
      const auto x = Ops::Load(above + j), y = Ops::Load(row + j), z = Ops::Load(below + j);
      const auto small = Ops::Min(x, y), large = Ops::Max(x, y);
      Ops::Store(l + j, Ops::Min(small, z));
      Ops::Store(h + j, Ops::Max(large, z));
      Ops::Store(m + j, Ops::Max(small, Ops::Min(large, z)));
    });
  } else {
    ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t j) {
      using Ops = decltype(ops);
      const auto x = Ops::Load(above + j), y = Ops::Load(row + j);
      Ops::Store(l + j, Ops::Min(x, y));
      Ops::Store(h + j, Ops::Max(x, y));
    });
  }
  for (int c = 0; c < channels; ++c) {
    l[c - step] = l[c], m[c - step] = m[c], h[c - step] = h[c];
    l[count + c] = l[count - step + c], m[count + c] = m[count - step + c], h[count + c] = h[count - step + c];
  }
  if (below) {
    ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t j) {
      using Ops = decltype(ops);
      const uint8_t *a = l + j, *b = m + j, *c = h + j;
      const auto largestLow = Ops::Max(Ops::Max(Ops::Load(a - step), Ops::Load(a)), Ops::Load(a + step));
      const auto smallestHigh = Ops::Min(Ops::Min(Ops::Load(c - step), Ops::Load(c)), Ops::Load(c + step));
      const auto middle = Median3<Ops>(Ops::Load(b - step), Ops::Load(b), Ops::Load(b + step));
      Ops::Store(out + j, Median3<Ops>(largestLow, middle, smallestHigh));
      if (j % 64 == 0) Ops::Prefetch(next + j);
    });
  } else {
    // The window of x is columns x - 1 and x.
    ForEachSample<kWide>(count, [&](auto ops, ptrdiff_t j) {
      using Ops = decltype(ops);
      const uint8_t *a = l + j, *c = h + j;
      Ops::Store(out + j, Ops::Min(Ops::Max(Ops::Load(a - step), Ops::Load(a)),
                                   Ops::Min(Ops::Load(c - step), Ops::Load(c))));
    });
  }
}

FXUI_DUAL_KERNEL(MedianNetworkRow, const NetworkRowArgs&)

}  // namespace

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
  const uint8_t* source = frame.sourcePixels();
  const auto sourceRow = [&](int y) { return source + ptrdiff_t(ClampToLine(y, layout.height)) * layout.stride; };

  // Selection networks for n = 2 and 3 (rows of width x channels + 32 samples, rounded up to 16).
  const size_t padded = (size_t(layout.width) * channels + 47) & ~size_t{15};
  uint8_t* sorted = n <= 3 ? frame.AllocateTable<uint8_t>(3 * padded) : nullptr;
  if (sorted) {
    for (int y = 0; y < layout.height; ++y) {
      if (!frame.BeginRow(y)) break;
      // Rows y - 1 and y for n = 2; y - 1, y and y + 1 for n = 3; row y + 2 (n = 3) is prefetched.
      MedianNetworkRow(NetworkRowArgs{sourceRow(y - 1), sourceRow(y), n == 3 ? sourceRow(y + 1) : nullptr,
                                      layout.width, channels, sorted, sorted + padded, sorted + 2 * padded,
                                      frame.resultPixels() + ptrdiff_t(y) * layout.stride, sourceRow(y + 2)});
    }
    return frame.Finish();
  }

  // Column histograms from n = 8 on, when they fit the budget and can be made: a constant
  // cost per sample whatever n is (below 8 the running histogram along the rows is faster).
  const size_t samples = size_t(layout.width) * channels;
  ColumnHistograms columns{nullptr, nullptr, static_cast<int>(samples)};
  if (n >= 8 && samples * 272 <= std::max(kColumnHistogramBudget, 4 * layout.blockSize)) {
    columns.fine = frame.AllocateTable<uint8_t>(samples * 256);
    columns.coarse = frame.AllocateTable<uint8_t>(samples * 16);
  }
  if (columns.fine && columns.coarse) {
    for (int y = 0; y < layout.height; ++y) {
      if (!frame.BeginRow(y)) break;
      if (y == 0) {
        for (int i = 0; i < n; ++i) columns.Add(sourceRow(i - h));
      } else if (sourceRow(y - 1 - h) != sourceRow(y - 1 - h + n)) {
        columns.Replace(sourceRow(y - 1 - h), sourceRow(y - 1 - h + n));
      }
      uint8_t* out = frame.resultPixels() + ptrdiff_t(y) * layout.stride;
      for (int c = 0; c < channels; ++c) MedianRowFromColumns(columns, c, channels, layout.width, n, target, out + c);
    }
    return frame.Finish();
  }

  // Otherwise a running histogram along each row.
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
