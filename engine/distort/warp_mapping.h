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

// One factor per ring index: the offset is scaled by f[k].
struct RadialLaw {
  const int32_t* f;
  PairSums Sums(int32_t k, int32_t u, int32_t v, int32_t xBias, int32_t yBias) const {
    return {xBias, WrapMul(f[k], u), WrapAdd(WrapMul(f[k], v), yBias), 0};
  }
};

// A cosine and a sine part per ring index: the offset is turned (and scaled) by the matrix,
// sx from c x u - s x v and sy from s x u + c x v.
struct RotationalLaw {
  const int32_t* c;
  const int32_t* s;
  PairSums Sums(int32_t k, int32_t u, int32_t v, int32_t xBias, int32_t yBias) const {
    return {WrapSub(xBias, WrapMul(s[k], v)), WrapMul(c[k], u), WrapAdd(WrapMul(c[k], v), yBias), WrapMul(s[k], u)};
  }
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

// The usual case, a coordinate inside the image, is marked as such: the compiler otherwise
// lays it out as the branch taken away and back.
inline int32_t ClampCoordinate(int32_t at, int32_t last) {
  if (__builtin_expect(static_cast<uint32_t>(at) <= static_cast<uint32_t>(last), 1)) return at;
  return at < 0 ? 0 : last;
}

// Where the pixels of one column of a tile came from in the previous row of the band: the
// source moves about as much from one row to the next, so the next row's source lines can be
// fetched a whole tile row ahead of their use, instead of each copy waiting for its own line.
struct WarpLookahead {
  uintptr_t right[kWarpTile];
  uintptr_t left[kWarpTile];
};

// Maps the pixels of stored row `row` in columns first ... end - 1 of the left half and in
// their mirror columns width - 1 - x (the middle column of an odd width is its own mirror and
// is written twice with the same pixel), and asks for the lines that the next row will likely
// read. The law comes by value and the image's fields are copied into locals: the byte stores
// could otherwise alias them and force reloads.
template <int kPixelBytes, typename Law>
void WarpRowPairs(const WarpImage& image, const int32_t* columnParts, const Law law, int32_t row, int32_t rowPart,
                  int32_t first, int32_t end, WarpLookahead& ahead) {
  const int32_t w = image.width, h = image.height;
  const size_t stride = image.stride;
  const uint8_t* const source = image.source;
  const int32_t xBias = WrapSub(WrapMul(kWarpOne, w), 8192), yBias = WrapSub(WrapMul(kWarpOne, h), 8192);
  const int32_t v = 2 * row + 1 - h;
  const uint8_t* const in = source + row * stride;
  uint8_t* const out = image.result + row * stride;
  for (int32_t x = first; x < end; ++x) {
    const size_t right = size_t(x) * kPixelBytes, left = size_t(w - 1 - x) * kPixelBytes;
    int32_t k = WrapAdd(rowPart, columnParts[x]);
    const uint8_t* fromRight = in + right;  // on or outside the ellipse: in place
    const uint8_t* fromLeft = in + left;
    if (k < kWarpTableSize) {
      if (k < 1) k = 1;  // the centre pixel of an odd size uses entry 1
      const PairSums p = law.Sums(k, 2 * x + 1 - w, v, xBias, yBias);
      const int32_t sxRight = ClampCoordinate(WrapAdd(p.x0, p.dx) >> 15, w - 1);
      const int32_t syRight = ClampCoordinate(WrapAdd(p.y0, p.dy) >> 15, h - 1);
      const int32_t sxLeft = ClampCoordinate(WrapSub(p.x0, p.dx) >> 15, w - 1);
      const int32_t syLeft = ClampCoordinate(WrapSub(p.y0, p.dy) >> 15, h - 1);
      fromRight = source + size_t(syRight) * stride + size_t(sxRight) * kPixelBytes;
      fromLeft = source + size_t(syLeft) * stride + size_t(sxLeft) * kPixelBytes;
    }
    // A prefetch never faults, so a guess outside the image is harmless.
    const uintptr_t r = reinterpret_cast<uintptr_t>(fromRight), l = reinterpret_cast<uintptr_t>(fromLeft);
    uintptr_t& lastRight = ahead.right[x - first];
    uintptr_t& lastLeft = ahead.left[x - first];
    __builtin_prefetch(reinterpret_cast<const void*>(r + (r - lastRight)));
    __builtin_prefetch(reinterpret_cast<const void*>(l + (l - lastLeft)));
    lastRight = r;
    lastLeft = l;
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

// Maps the rows top ... bottom - 1 (at most kWarpTile of them) tile by tile, each tile of the
// left half together with its mirror tile. Row padding is left as it is.
template <typename Law>
void WarpBand(const WarpImage& image, const RingScale& ring, const Law& law, int32_t top, int32_t bottom) {
  int32_t rowParts[kWarpTile];
  for (int32_t row = top; row < bottom; ++row) rowParts[row - top] = ring.RowPart(2 * row + 1 - image.height);
  const int32_t half = image.width - image.width / 2;
  for (int32_t first = 0; first < half; first += kWarpTile) {
    const int32_t end = first + kWarpTile < half ? first + kWarpTile : half;
    WarpLookahead ahead;  // the first row predicts from the pixels' own places
    const uint8_t* const topRow = image.source + size_t(top) * image.stride;
    for (int32_t x = first; x < end; ++x) {
      ahead.right[x - first] = reinterpret_cast<uintptr_t>(topRow + size_t(x) * image.pixelBytes);
      ahead.left[x - first] = reinterpret_cast<uintptr_t>(topRow + size_t(image.width - 1 - x) * image.pixelBytes);
    }
    for (int32_t row = top; row < bottom; ++row) {
      if (image.pixelBytes == 3) {
        WarpRowPairs<3>(image, ring.columnParts, law, row, rowParts[row - top], first, end, ahead);
      } else {
        WarpRowPairs<1>(image, ring.columnParts, law, row, rowParts[row - top], first, end, ahead);
      }
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
