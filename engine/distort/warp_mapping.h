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
  // The part of the ring index of a column with horizontal offset u (half-pixel units).
  int32_t ColumnPart(int32_t u) const { return WrapShiftLeft(WrapMul(u, u), shift) / a; }
  // The ring index of offset u within a row whose part is `rowPart`.
  int32_t Index(int32_t rowPart, int32_t u) const { return WrapAdd(rowPart, ColumnPart(u)); }

  // Optional: ColumnPart of every column x (u = 2x + 1 - width), so that a row needs no
  // division per pixel. Made by FillColumnParts; without it each pixel divides.
  const int32_t* columnParts = nullptr;
  void FillColumnParts(int32_t width, int32_t* parts) {
    for (int32_t x = 0; x < width; ++x) parts[x] = ColumnPart(2 * x + 1 - width);
    columnParts = parts;
  }
};

// Source position of a pixel inside the ellipse: (factor x offset + 16384 x size - 8192) >> 15,
// the offsets u and v from the centre being in half-pixel units. Not yet clamped.
inline int32_t WarpSourceCoordinate(int32_t scaledOffset, int32_t size) {
  return WrapAdd(scaledOffset, WrapSub(WrapMul(kWarpOne, size), 8192)) >> 15;
}

// One factor per ring index: the offset is scaled by f[k].
struct RadialLaw {
  const int32_t* f;
  void Locate(int32_t k, int32_t u, int32_t v, int32_t w, int32_t h, int32_t* sx, int32_t* sy) const {
    *sx = WarpSourceCoordinate(WrapMul(f[k], u), w);
    *sy = WarpSourceCoordinate(WrapMul(f[k], v), h);
  }
};

// A cosine and a sine part per ring index: the offset is turned (and scaled) by the matrix.
struct RotationalLaw {
  const int32_t* c;
  const int32_t* s;
  void Locate(int32_t k, int32_t u, int32_t v, int32_t w, int32_t h, int32_t* sx, int32_t* sy) const {
    *sx = WarpSourceCoordinate(WrapSub(WrapMul(c[k], u), WrapMul(s[k], v)), w);
    *sy = WarpSourceCoordinate(WrapAdd(WrapMul(s[k], u), WrapMul(c[k], v)), h);
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

template <int kPixelBytes, typename Law>
void WarpRowPixels(const WarpImage& image, const RingScale& ring, const Law& law, int32_t row, int32_t first,
                   int32_t end) {
  const int32_t w = image.width, h = image.height;
  const int32_t v = 2 * row + 1 - h;
  const int32_t rowPart = ring.RowPart(v);
  const uint8_t* in = image.source + row * image.stride;
  uint8_t* out = image.result + row * image.stride + first * kPixelBytes;
  const int32_t* parts = ring.columnParts;
  for (int32_t x = first; x < end; ++x, out += kPixelBytes) {
    const int32_t u = 2 * x + 1 - w;
    int32_t k = parts ? WrapAdd(rowPart, parts[x]) : ring.Index(rowPart, u);
    const uint8_t* from = in + x * kPixelBytes;
    if (k < kWarpTableSize) {
      if (k < 1) k = 1;  // the centre pixel of an odd size uses entry 1
      int32_t sx, sy;
      law.Locate(k, u, v, w, h, &sx, &sy);
      sx = sx < 0 ? 0 : sx > w - 1 ? w - 1 : sx;
      sy = sy < 0 ? 0 : sy > h - 1 ? h - 1 : sy;
      from = image.source + sy * image.stride + sx * kPixelBytes;
    }
    std::memcpy(out, from, kPixelBytes);
  }
}

// Maps columns first ... end - 1 of stored row `row` of the result (the whole row when no
// columns are given; row padding is left as it is).
template <typename Law>
void WarpRow(const WarpImage& image, const RingScale& ring, const Law& law, int32_t row, int32_t first = 0,
             int32_t end = -1) {
  if (end < 0) end = image.width;
  if (image.pixelBytes == 3) {
    WarpRowPixels<3>(image, ring, law, row, first, end);
  } else {
    WarpRowPixels<1>(image, ring, law, row, first, end);
  }
}

#endif
