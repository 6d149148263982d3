// The mapping behind the table-driven warps: every pixel inside the ellipse inscribed in the
// image looks up a factor by its ring index (512 times its squared elliptical radius) and
// copies the source pixel that the factor sends it to; pixels on or outside the ellipse are
// copied in place. The radial and rotational warps use it, and so can any routine that maps
// by a 512-entry factor table with 14 fraction bits.
//
// The arithmetic is 32-bit signed with arithmetic right shifts; products wrap as 32-bit
// integers do (done on unsigned values, so that huge images cannot reach undefined behaviour).
#ifndef FXUI_ENGINE_DISTORT_WARP_MAPPING_H
#define FXUI_ENGINE_DISTORT_WARP_MAPPING_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/wide_kernels.h"

// Where the processor has AVX2 (WideKernels), the places of eight pairs are worked out at once.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define FXUI_WARP_AVX2 1
#endif

constexpr int kWarpTableSize = 512;  // entries per factor table, one per ring index
constexpr int32_t kWarpOne = 16384;  // a factor of 1.0 (14 fraction bits)

static_assert((-3 >> 1) == -2, "the mapping needs arithmetic right shifts");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the wide pixel copies need little-endian words");

inline int32_t WrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t WrapShiftLeft(int32_t a, int s) { return static_cast<int32_t>(static_cast<uint32_t>(a) << s); }

// The divisors and shift of the ring index, normalised once per image so that the squared
// offsets, shifted, stay below 2^31 for large images.
struct RingScale {
  int32_t a;  // (w - 1)^2, possibly shifted down, at least 1
  int32_t b;  // (h - 1)^2, likewise
  int shift;  // 9, or less for large images

  RingScale(int32_t width, int32_t height) {
    a = WrapMul(width - 1, width - 1);
    b = WrapMul(height - 1, height - 1);
    int bits = 0;  // significant bits of a + b
    for (int32_t sum = WrapAdd(a, b); sum > 0 && bits < 31; sum >>= 1) ++bits;
    shift = 31 - bits >= 9 ? 9 : 31 - bits;
    a >>= 9 - shift;
    b >>= 9 - shift;
    if (a < 1) a = 1;
    if (b < 1) b = 1;
  }
  // The part of the ring index of a row with vertical offset v (half-pixel units).
  int32_t RowPart(int32_t v) const { return WrapShiftLeft(WrapMul(v, v), shift) / b; }

  // The part of every column x (horizontal offset u = 2x + 1 - width), filled into `parts` by
  // FillColumnParts, so that a row needs no division per pixel.
  const int32_t* columnParts = nullptr;
  void FillColumnParts(int32_t width, int32_t* parts) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t u = 2 * x + 1 - width;
      parts[x] = WrapShiftLeft(WrapMul(u, u), shift) / a;
    }
    columnParts = parts;
  }
};

// The pixels at offsets (u, v) and (-u, v) from the centre (columns x and width - 1 - x of a
// row) share their ring index k, and with it the products of the mapping. Their source
// positions, before the shift, are (x0 + dx, y0 + dy) and (x0 - dx, y0 - dy); the shift by 15
// then gives (factor x offset + 16384 x size - 8192) >> 15 for each.
struct PairSums {
  int32_t x0, dx, y0, dy;
};

#if defined(FXUI_WARP_AVX2)
// The same sums for eight pairs in AVX2 lanes (32-bit products wrap as WrapMul's do).
struct PairSums8 {
  __m256i x0, dx, y0, dy;
};
#endif

// One factor per ring index: the offset is scaled by f[k].
struct RadialLaw {
  const int32_t* f;
  PairSums Sums(int32_t k, int32_t u, int32_t v, int32_t xBias, int32_t yBias) const {
    return {xBias, WrapMul(f[k], u), WrapAdd(WrapMul(f[k], v), yBias), 0};
  }
#if defined(FXUI_WARP_AVX2)
  __attribute__((target("avx2"))) PairSums8 Sums8(__m256i k, __m256i u, __m256i v, __m256i xBias,
                                                  __m256i yBias) const {
    const __m256i factor = _mm256_i32gather_epi32(reinterpret_cast<const int*>(f), k, 4);
    return {xBias, _mm256_mullo_epi32(factor, u), _mm256_add_epi32(_mm256_mullo_epi32(factor, v), yBias),
            _mm256_setzero_si256()};
  }
#endif
};

// A cosine and a sine part per ring index: the offset is turned (and scaled) by the matrix,
// sx from c x u - s x v and sy from s x u + c x v.
struct RotationalLaw {
  const int32_t* c;
  const int32_t* s;
  PairSums Sums(int32_t k, int32_t u, int32_t v, int32_t xBias, int32_t yBias) const {
    return {WrapSub(xBias, WrapMul(s[k], v)), WrapMul(c[k], u), WrapAdd(WrapMul(c[k], v), yBias), WrapMul(s[k], u)};
  }
#if defined(FXUI_WARP_AVX2)
  __attribute__((target("avx2"))) PairSums8 Sums8(__m256i k, __m256i u, __m256i v, __m256i xBias,
                                                  __m256i yBias) const {
    const __m256i cosine = _mm256_i32gather_epi32(reinterpret_cast<const int*>(c), k, 4);
    const __m256i sine = _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), k, 4);
    return {_mm256_sub_epi32(xBias, _mm256_mullo_epi32(sine, v)), _mm256_mullo_epi32(cosine, u),
            _mm256_add_epi32(_mm256_mullo_epi32(cosine, v), yBias), _mm256_mullo_epi32(sine, u)};
  }
#endif
};

// The image being warped: source and result pixels (after header and palette) of one size.
struct WarpImage {
  const uint8_t* source;
  uint8_t* result;
  int32_t width;
  int32_t height;
  size_t stride;
  int pixelBytes;  // 3 for 24-bit, 1 for an 8-bit image
};

// Output tiles of kWarpTile x kWarpTile pixel pairs: a turned or scaled tile reads a compact
// patch of the source, where whole rows would sweep across it. Bands of rows are kWarpTile
// high.
constexpr int32_t kWarpTile = 128;

// Where the pixels of one column of a tile came from in the previous row of the band: the
// source moves about as much from one row to the next, so the next row's source lines can be
// fetched a whole tile row ahead of their use, instead of each copy waiting for its own line.
struct WarpLookahead {
  uintptr_t right[kWarpTile];
  uintptr_t left[kWarpTile];
};

// The usual case, a coordinate inside the image, is marked as such: the compiler otherwise
// lays it out as the branch taken away and back.
inline int32_t ClampCoordinate(int32_t at, int32_t last) {
  if (__builtin_expect(static_cast<uint32_t>(at) <= static_cast<uint32_t>(last), 1)) return at;
  return at < 0 ? 0 : last;
}

// Where the pixels of a row's pairs come from, one pair at a time: the offsets, from the first
// source pixel, of the sources of column x (inside the ellipse, ring index below the table
// size, from the law, the centre pixel of an odd size using entry 1, clamped into the image;
// on or outside it the pixel itself) and of its mirror column width - 1 - x.
template <typename Law>
struct RowPlaces {
  const Law law;  // by value, and the image's fields in members: the copies' byte stores could
                  // otherwise alias them and force reloads
  const int32_t* columnParts;
  int32_t rowPart, row, w, h, xBias, yBias, v;
  ptrdiff_t stride, bytes;

  RowPlaces(const Law& law, const int32_t* columnParts, int32_t rowPart, int32_t row, const WarpImage& image)
      : law(law), columnParts(columnParts), rowPart(rowPart), row(row), w(image.width), h(image.height),
        xBias(WrapSub(WrapMul(kWarpOne, w), 8192)), yBias(WrapSub(WrapMul(kWarpOne, h), 8192)), v(2 * row + 1 - h),
        stride(ptrdiff_t(image.stride)), bytes(image.pixelBytes) {}

  void operator()(int32_t x, ptrdiff_t& right, ptrdiff_t& left) const {
    int32_t k = WrapAdd(rowPart, columnParts[x]);
    if (k >= kWarpTableSize) {
      right = row * stride + x * bytes;
      left = row * stride + (w - 1 - x) * bytes;
      return;
    }
    if (k < 1) k = 1;
    const PairSums p = law.Sums(k, 2 * x + 1 - w, v, xBias, yBias);
    right = ClampCoordinate(WrapAdd(p.y0, p.dy) >> 15, h - 1) * stride +
            ClampCoordinate(WrapAdd(p.x0, p.dx) >> 15, w - 1) * bytes;
    left = ClampCoordinate(WrapSub(p.y0, p.dy) >> 15, h - 1) * stride +
           ClampCoordinate(WrapSub(p.x0, p.dx) >> 15, w - 1) * bytes;
  }
};

#if defined(FXUI_WARP_AVX2)
// The offsets of the sources of a tile row's pairs, worked out ahead of the copies: 32 bits,
// so only for images of fewer than 2^31 pixel bytes.
struct PairSources {
  int32_t right[kWarpTile];
  int32_t left[kWarpTile];
  int32_t aheadRight[kWarpTile];  // the guess for the next row: this row's offset plus how far
  int32_t aheadLeft[kWarpTile];   // it moved from the previous row's (32-bit lanes wrap)
};

// Offsets y x stride + x x bytes of eight sources.
__attribute__((target("avx2"))) inline __m256i Offsets(__m256i y, __m256i x, __m256i stride, __m256i bytes) {
  return _mm256_add_epi32(_mm256_mullo_epi32(y, stride), _mm256_mullo_epi32(x, bytes));
}
__attribute__((target("avx2"))) inline __m256i Load(const int32_t* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
__attribute__((target("avx2"))) inline void Store(int32_t* at, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v);
}

// RowPlaces for the pairs of columns first ... first + count - 1, eight at a time: the law's
// entries gathered, the same 32-bit wrapping products and arithmetic shifts, min/max for the
// clamps and a select for the pixels on or outside the ellipse (which read entry 1 and drop
// the answer). The pairs after the last group of eight one by one.
template <typename Law>
__attribute__((target("avx2"))) void PlaceRowPairs(const RowPlaces<Law>& places, int32_t first, int32_t count,
                                                   const PairSources& previous, PairSources& to) {
  const __m256i xBias = _mm256_set1_epi32(places.xBias), yBias = _mm256_set1_epi32(places.yBias);
  const __m256i v = _mm256_set1_epi32(places.v), rows = _mm256_set1_epi32(places.row);
  const __m256i zero = _mm256_setzero_si256(), one = _mm256_set1_epi32(1), size = _mm256_set1_epi32(kWarpTableSize);
  const __m256i lastX = _mm256_set1_epi32(places.w - 1), lastY = _mm256_set1_epi32(places.h - 1);
  const __m256i part = _mm256_set1_epi32(places.rowPart), width = _mm256_set1_epi32(places.w);
  const __m256i stride = _mm256_set1_epi32(int32_t(places.stride)), bytes = _mm256_set1_epi32(int32_t(places.bytes));
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i x = _mm256_add_epi32(_mm256_set1_epi32(first + i), lanes);
    const __m256i k = _mm256_add_epi32(
        part, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(places.columnParts + first + i)));
    const __m256i inside = _mm256_cmpgt_epi32(size, k);
    const __m256i entry = _mm256_blendv_epi8(one, _mm256_max_epi32(k, one), inside);
    const __m256i u = _mm256_sub_epi32(_mm256_add_epi32(_mm256_add_epi32(x, x), one), width);
    const PairSums8 p = places.law.Sums8(entry, u, v, xBias, yBias);
    __m256i at[4] = {_mm256_add_epi32(p.x0, p.dx), _mm256_add_epi32(p.y0, p.dy), _mm256_sub_epi32(p.x0, p.dx),
                     _mm256_sub_epi32(p.y0, p.dy)};
    for (int j = 0; j < 4; ++j) {
      at[j] = _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(at[j], 15), zero), j % 2 ? lastY : lastX);
    }
    const __m256i right = Offsets(_mm256_blendv_epi8(rows, at[1], inside), _mm256_blendv_epi8(x, at[0], inside),
                                  stride, bytes);
    const __m256i left = Offsets(_mm256_blendv_epi8(rows, at[3], inside),
                                 _mm256_blendv_epi8(_mm256_sub_epi32(lastX, x), at[2], inside), stride, bytes);
    Store(to.right + i, right);
    Store(to.left + i, left);
    Store(to.aheadRight + i, _mm256_sub_epi32(_mm256_add_epi32(right, right), Load(previous.right + i)));
    Store(to.aheadLeft + i, _mm256_sub_epi32(_mm256_add_epi32(left, left), Load(previous.left + i)));
  }
  for (; i < count; ++i) {
    ptrdiff_t right, left;
    places(first + i, right, left);
    to.right[i] = int32_t(right), to.left[i] = int32_t(left);
    to.aheadRight[i] = int32_t(2 * uint32_t(right) - uint32_t(previous.right[i]));
    to.aheadLeft[i] = int32_t(2 * uint32_t(left) - uint32_t(previous.left[i]));
  }
}
#endif

// Copies the pixels of row `row` in columns first ... end - 1 of the left half and in their
// mirror columns width - 1 - x from where place(x, right, left) says (the middle column of an
// odd width is its own mirror and is written twice with the same pixel), after
// prefetch(x, right source, left source) has asked for the lines the next row will likely read.
template <int kPixelBytes, typename Place, typename Prefetch>
void CopyRowPairs(const WarpImage& image, int32_t row, int32_t first, int32_t end, const Place& place,
                  const Prefetch& prefetch) {
  const int32_t w = image.width;
  const uint8_t* const source = image.source;
  uint8_t* const out = image.result + row * image.stride;
  for (int32_t x = first; x < end; ++x) {
    const size_t right = size_t(x) * kPixelBytes, left = size_t(w - 1 - x) * kPixelBytes;
    ptrdiff_t rightOffset, leftOffset;
    place(x, rightOffset, leftOffset);
    const uint8_t* fromRight = source + rightOffset;
    const uint8_t* fromLeft = source + leftOffset;
    prefetch(x, fromRight, fromLeft);
    if (kPixelBytes == 3 && x + 1 < end) {
      // Wide copies: each 4-byte load starts one byte before its pixel (the header lies
      // before the first one, so it stays in the block); the extra byte stored lands on a
      // pixel of this row that the next pair overwrites (the right pixels go rightwards, the
      // left ones leftwards).
      uint32_t bytes;
      std::memcpy(&bytes, fromRight - 1, 4);
      bytes >>= 8;
      std::memcpy(out + right, &bytes, 4);
      std::memcpy(&bytes, fromLeft - 1, 4);
      std::memcpy(out + left - 1, &bytes, 4);
    } else {
      std::memcpy(out + right, fromRight, kPixelBytes);
      std::memcpy(out + left, fromLeft, kPixelBytes);
    }
  }
}

template <typename Place, typename Prefetch>
void CopyRowPairs(const WarpImage& image, int32_t row, int32_t first, int32_t end, const Place& place,
                  const Prefetch& prefetch) {
  if (image.pixelBytes == 3) {
    CopyRowPairs<3>(image, row, first, end, place, prefetch);
  } else {
    CopyRowPairs<1>(image, row, first, end, place, prefetch);
  }
}

// A prefetch never faults, so a guess outside the image is harmless; the guesses are made as
// integers.
inline void PrefetchAt(uintptr_t address) { __builtin_prefetch(reinterpret_cast<const void*>(address)); }

// Maps the rows top ... bottom - 1 (at most kWarpTile of them) tile by tile, each tile of the
// left half together with its mirror tile. Where the processor has AVX2, the places of a tile
// row's pairs are worked out eight at a time before the copies; otherwise each pair's place
// is worked out as it is copied. Row padding is left as it is.
template <typename Law>
void WarpBand(const WarpImage& image, const RingScale& ring, const Law& law, int32_t top, int32_t bottom) {
  int32_t rowParts[kWarpTile];
  for (int32_t row = top; row < bottom; ++row) rowParts[row - top] = ring.RowPart(2 * row + 1 - image.height);
  const int32_t half = image.width - image.width / 2;
  // The places worked out ahead need the offsets of all pixels in 32 bits.
  [[maybe_unused]] const bool ahead = WideKernels() && image.stride * size_t(image.height) < (size_t{1} << 31);
  const uintptr_t source = reinterpret_cast<uintptr_t>(image.source);
  for (int32_t first = 0; first < half; first += kWarpTile) {
    const int32_t end = first + kWarpTile < half ? first + kWarpTile : half;
    // The first row of a band predicts from the pixels' own places.
    const ptrdiff_t topRow = ptrdiff_t(top) * ptrdiff_t(image.stride);
#if defined(FXUI_WARP_AVX2)
    if (ahead) {
      PairSources sources[2];
      for (int32_t x = first; x < end; ++x) {
        sources[1].right[x - first] = int32_t(topRow + ptrdiff_t(x) * image.pixelBytes);
        sources[1].left[x - first] = int32_t(topRow + ptrdiff_t(image.width - 1 - x) * image.pixelBytes);
      }
      for (int32_t row = top; row < bottom; ++row) {
        const PairSources& previous = sources[(row - top + 1) % 2];
        PairSources& current = sources[(row - top) % 2];
        PlaceRowPairs(RowPlaces<Law>(law, ring.columnParts, rowParts[row - top], row, image), first, end - first,
                      previous, current);
        CopyRowPairs(
            image, row, first, end,
            [&](int32_t x, ptrdiff_t& right, ptrdiff_t& left) {
              right = current.right[x - first], left = current.left[x - first];
            },
            [&](int32_t x, const uint8_t*, const uint8_t*) {
              PrefetchAt(source + uintptr_t(intptr_t(current.aheadRight[x - first])));
              PrefetchAt(source + uintptr_t(intptr_t(current.aheadLeft[x - first])));
            });
      }
      continue;
    }
#endif
    WarpLookahead lookahead;
    for (int32_t x = first; x < end; ++x) {
      lookahead.right[x - first] = source + uintptr_t(topRow + ptrdiff_t(x) * image.pixelBytes);
      lookahead.left[x - first] = source + uintptr_t(topRow + ptrdiff_t(image.width - 1 - x) * image.pixelBytes);
    }
    for (int32_t row = top; row < bottom; ++row) {
      CopyRowPairs(image, row, first, end, RowPlaces<Law>(law, ring.columnParts, rowParts[row - top], row, image),
                   [&](int32_t x, const uint8_t* fromRight, const uint8_t* fromLeft) {
                     const uintptr_t r = reinterpret_cast<uintptr_t>(fromRight);
                     const uintptr_t l = reinterpret_cast<uintptr_t>(fromLeft);
                     uintptr_t& lastRight = lookahead.right[x - first];
                     uintptr_t& lastLeft = lookahead.left[x - first];
                     PrefetchAt(r + (r - lastRight));
                     PrefetchAt(l + (l - lastLeft));
                     lastRight = r;
                     lastLeft = l;
                   });
    }
  }
}

// The rows of a warp after its header, palette and first abort query: in bands of kWarpTile
// rows, each mapped once `beginRow` (the routine's abort test and progress report) has been
// asked for every row of the band; the result is only seen once the routine returns, so this
// order shows nowhere. False once `beginRow` reports an abort.
template <typename Law, typename BeginRow>
bool WarpRows(const WarpImage& image, const RingScale& ring, const Law& law, BeginRow beginRow) {
  for (int32_t top = 0; top < image.height; top += kWarpTile) {
    const int32_t bottom = top + kWarpTile < image.height ? top + kWarpTile : image.height;
    for (int32_t row = top; row < bottom; ++row) {
      if (!beginRow(row)) return false;
    }
    WarpBand(image, ring, law, top, bottom);
  }
  return true;
}

#endif
