// Effect 68, directional erosion of an 8-bit image (an opacity mask, typically): a pixel of
// value 0 stays 0; any other becomes the smallest of the means along eight rays of r + 1
// pixels (the pixel itself and r steps toward each compass direction), where the part of a
// ray beyond the image counts as 0 and every mean divides by r + 1. No abort test, no
// progress.
//
// A ray's sum is kept as a running sum instead of being added up pixel by pixel: with f the
// image extended by zeros, the sum S(p) over p, p + d, ..., p + r d satisfies
//   S(p) = f(p) + S(p + d) - f(p + (r + 1) d),
// so the rays that point toward rows already visited follow from the previous row's sums,
// and the horizontal rays from one prefix sum per row. Since truncating division keeps the
// order of sums, the smallest mean is the smallest sum divided once.
#include <algorithm>
#include <cstdint>

#include "engine/routine_frame.h"
#include "engine/special/special.h"

namespace {

struct ErosionImage {
  const uint8_t* pixels;  // source rows
  uint8_t* out;           // result rows
  int width;
  int height;
  size_t stride;
  int reach;  // r + 1, the pixels a ray can hold
};

// Smallest of the two horizontal ray sums for every pixel of `row`, into `sums`; `prefix`
// holds width + 1 entries.
void HorizontalRays(const ErosionImage& image, const uint8_t* row, int32_t* prefix, int32_t* sums) {
  const int w = image.width;
  prefix[0] = 0;
  for (int x = 0; x < w; ++x) prefix[x + 1] = prefix[x] + row[x];
  for (int x = 0; x < w; ++x) {
    const int32_t left = prefix[x + 1] - prefix[std::max(0, x - image.reach + 1)];
    const int32_t right = prefix[std::min(w, x + image.reach)] - prefix[x];
    sums[x] = std::min(left, right);
  }
}

// One pass over the rows in the order `step` (+1: stored row 0 upward; -1: top row down-
// ward), following the three rays that point back to the rows already visited (dy = -step,
// dx = -1, 0, +1). `rays` holds 6 rows of width + 2 sums: previous and current row of each
// ray, with a zero at both ends for the pixels beyond the sides. The first pass writes its
// smallest mean (horizontal rays included) into the result; the second lowers it further
// and puts back the zero pixels.
void RayPass(const ErosionImage& image, int step, int32_t* rays, int32_t* prefix, int32_t* smallest) {
  const int w = image.width, h = image.height;
  const size_t span = size_t(w) + 2;
  std::fill(rays, rays + 6 * span, 0);
  int32_t* previous[3] = {rays, rays + span, rays + 2 * span};
  int32_t* current[3] = {rays + 3 * span, rays + 4 * span, rays + 5 * span};
  const bool first = step > 0;
  for (int i = 0, y = first ? 0 : h - 1; i < h; ++i, y += step) {
    const uint8_t* row = image.pixels + size_t(y) * image.stride;
    // The row whose pixel leaves each ray here: reach rows back.
    const int back = y - step * image.reach;
    const uint8_t* leaving = back >= 0 && back < h ? image.pixels + size_t(back) * image.stride : nullptr;
    if (first) {
      HorizontalRays(image, row, prefix, smallest);
    } else {
      std::fill(smallest, smallest + w, INT32_MAX);
    }
    for (int ray = 0; ray < 3; ++ray) {
      const int dx = ray - 1;
      const int shift = dx * image.reach;
      for (int x = 0; x < w; ++x) {
        int32_t sum = row[x] + previous[ray][x + dx + 1];
        const int xl = x + shift;
        if (leaving && xl >= 0 && xl < w) sum -= leaving[xl];
        current[ray][x + 1] = sum;
        smallest[x] = std::min(smallest[x], sum);
      }
      std::swap(previous[ray], current[ray]);
    }
    uint8_t* out = image.out + size_t(y) * image.stride;
    for (int x = 0; x < w; ++x) {
      const auto mean = static_cast<uint8_t>(smallest[x] / image.reach);
      out[x] = first ? mean : (row[x] == 0 ? 0 : std::min(out[x], mean));
    }
  }
}

}  // namespace

HGLOBAL DirectionalErosion(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto radius = static_cast<uint32_t>(static_cast<const DirectionalErosionParams*>(record)->radius);
  if (radius == 0 || radius > 128) return nullptr;

  // Any 8-bit image, grey ramp or not. The header and palette are copied in one piece: 1064
  // bytes for the 256-entry palettes this is meant for; another colour count keeps its own
  // palette size, so that the result stays a well-formed image.
  RoutineFrame frame(DibKindBit(kDibGreyRamp) | DibKindBit(kDibPalette8));
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  const DibLayout& layout = frame.layout();
  const size_t span = size_t(layout.width) + 2;
  int32_t* work = frame.AllocateTable<int32_t>(8 * span);
  if (!work) return nullptr;
  const ErosionImage image{frame.sourcePixels(), frame.resultPixels(), layout.width, layout.height,
                           layout.stride, static_cast<int>(radius) + 1};
  int32_t* rays = work;
  int32_t* prefix = work + 6 * span;
  int32_t* smallest = work + 7 * span;
  RayPass(image, +1, rays, prefix, smallest);
  RayPass(image, -1, rays, prefix, smallest);
  return frame.Finish(FinalReport::kNone);
}
