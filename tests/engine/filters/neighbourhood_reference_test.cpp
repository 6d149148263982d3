// The fast neighbourhood filters against a plain reference that computes every window
// directly (each position clamped on its own), over random images of both kinds, odd and tiny
// sizes, pictures wider than one vertical strip and window sides at both ends.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "engine/engine_fixture.h"
#include "engine/filters/filters.h"
#include "engine/wide_kernels.h"
#include "test_images.h"

namespace {

using Window = std::vector<int>;  // the n samples of one window, in order along the line
using LineRule = std::function<int(const Window&, int source)>;

// Both passes done the slow way: rows of the source into `mid`, then columns of `mid` into
// the result, `vertical` also seeing the source image's own sample.
std::vector<uint8_t> Reference(const std::vector<uint8_t>& px, int w, int h, int channels, int n,
                               const LineRule& horizontal, const LineRule& vertical) {
  const int stride = (w * channels + 3) & ~3;
  std::vector<uint8_t> mid = px, out = px;
  Window window(size_t(n), 0);
  const int back = n / 2;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < channels; ++c) {
        for (int j = 0; j < n; ++j) window[j] = px[y * stride + std::clamp(x - back + j, 0, w - 1) * channels + c];
        mid[y * stride + x * channels + c] = uint8_t(horizontal(window, px[y * stride + x * channels + c]));
      }
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < channels; ++c) {
        for (int j = 0; j < n; ++j) window[j] = mid[std::clamp(y - back + j, 0, h - 1) * stride + x * channels + c];
        out[y * stride + x * channels + c] = uint8_t(vertical(window, px[y * stride + x * channels + c]));
      }
    }
  }
  return out;
}

int Sum(const Window& w) {
  int s = 0;
  for (int v : w) s += v;
  return s;
}

struct SeparableCase {
  std::string name;
  HGLOBAL (*routine)(HGLOBAL, const void*);
  std::vector<int32_t> record;
  LineRule horizontal, vertical;
};

std::vector<SeparableCase> Cases(int n) {
  const auto mean = [n](const Window& w, int) { return (Sum(w) + n / 2) / n; };
  const auto maximum = [](const Window& w, int) { return *std::max_element(w.begin(), w.end()); };
  const auto minimum = [](const Window& w, int) { return *std::min_element(w.begin(), w.end()); };
  std::vector<int32_t> weights(size_t(n), 0);
  GaussianWeights(n, weights.data());
  const auto gauss = [weights](const Window& w, int) {
    int64_t acc = 524288;
    for (size_t j = 0; j < w.size(); ++j) acc += int64_t(weights[j]) * w[j];
    return int(acc >> 20);
  };
  std::vector<SeparableCase> cases = {
      {"average", AverageBlur, {n, 0}, mean, mean},
      {"gaussian", GaussianBlur, {n, 0}, gauss, gauss},
      {"maximum", MaximumMinimum, {n, 1}, maximum, maximum},
      {"minimum", MaximumMinimum, {n, 0}, minimum, minimum},
  };
  for (int m : {0, 1, 13, 400}) {
    const int d = n + m;
    cases.push_back({"soften m " + std::to_string(m), SoftenedBlur, {n, m}, mean,
                     [n, m, d](const Window& w, int s) { return (Sum(w) + m * s + d / 2) / d; }});
  }
  for (auto [effect, threshold] : {std::pair{1, 0}, {150, 4}, {500, 0}, {500, 255}}) {
    cases.push_back({"unsharp " + std::to_string(effect) + " " + std::to_string(threshold), UnsharpMask,
                     {n, effect, threshold}, mean, [n, effect, threshold](const Window& w, int s) {
                       const int d = s - (Sum(w) + n / 2) / n;
                       const int size = std::abs(d) < threshold ? 0 : (50 + std::abs(d) * effect) / 100;
                       return std::clamp(s + (d < 0 ? -size : size), 0, 255);
                     }});
  }
  return cases;
}

// Pixel rows of the image with their padding, the way Reference reads them.
struct Picture {
  std::vector<uint8_t> px;
  int w, h, channels;
};

Picture Read(HGLOBAL dib) {
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  Picture p{{}, int(header->biWidth), int(header->biHeight), header->biBitCount == 24 ? 3 : 1};
  GlobalUnlock(dib);
  p.px = PixelBytes(dib);
  return p;
}

// Every case of side n.
void ExpectSameAsReference(HGLOBAL dib, int n, const std::string& label) {
  const Picture p = Read(dib);
  for (const SeparableCase& c : Cases(n)) {
    ScopedDib result(c.routine(dib, c.record.data()));
    ASSERT_TRUE(result) << label << " " << c.name;
    EXPECT_EQ(PixelBytes(result.get()), Reference(p.px, p.w, p.h, p.channels, n, c.horizontal, c.vertical))
        << label << " " << c.name << " n " << n;
  }
}

// rule(window) for each sample, the window being the clamped size x size square around it:
// window[i x size + j] is the sample at stored row y - size / 2 + i, column x - size / 2 + j.
std::vector<uint8_t> ReferenceSquare(const Picture& p, int size, const std::function<int(Window&)>& rule) {
  const int stride = (p.w * p.channels + 3) & ~3, back = size / 2;
  std::vector<uint8_t> out = p.px;
  Window window(size_t(size) * size);
  for (int y = 0; y < p.h; ++y) {
    for (int x = 0; x < p.w; ++x) {
      for (int c = 0; c < p.channels; ++c) {
        for (int i = 0; i < size; ++i) {
          for (int j = 0; j < size; ++j) {
            const int yy = std::clamp(y - back + i, 0, p.h - 1), xx = std::clamp(x - back + j, 0, p.w - 1);
            window[size_t(i) * size + j] = p.px[yy * stride + xx * p.channels + c];
          }
        }
        out[y * stride + x * p.channels + c] = uint8_t(rule(window));
      }
    }
  }
  return out;
}

// The median of each window, the lower middle sample for even n, by sorting.
std::vector<uint8_t> ReferenceMedian(const Picture& p, int n) {
  return ReferenceSquare(p, n, [n](Window& w) {
    std::nth_element(w.begin(), w.begin() + (n * n - 1) / 2, w.end());
    return w[(n * n - 1) / 2];
  });
}

// Both ways of counting: column histograms, and the running histogram along the rows that
// the median keeps to when the column histograms cannot be made (the second block of the run).
void ExpectMedianAsReference(HGLOBAL dib, int n, const std::string& label) {
  const FilterSizeParams params{n, 0};
  const std::vector<uint8_t> expected = ReferenceMedian(Read(dib), n);
  for (int failing : {0, 2}) {
    PlatformFailAllocation(failing);
    ScopedDib result(Median(dib, &params));
    PlatformFailAllocation(0);
    ASSERT_TRUE(result) << label;
    EXPECT_EQ(PixelBytes(result.get()), expected) << label << " median n " << n << " failing " << failing;
  }
}

// Edge-preserving smoothing: the rounded mean of the 3 x 3 window where the Sobel strength
// |gx| + |gy| is below 128, else the sample itself.
std::vector<uint8_t> ReferenceSmoothing(const Picture& p) {
  return ReferenceSquare(p, 3, [](Window& v) {
    const int gy = v[6] + 2 * v[7] + v[8] - v[0] - 2 * v[1] - v[2];
    const int gx = v[2] + 2 * v[5] + v[8] - v[0] - 2 * v[3] - v[6];
    return std::abs(gx) + std::abs(gy) < 128 ? (Sum(v) + 4) / 9 : v[4];
  });
}

// The user filter: each sample's share v x 262144 x weight / scale + 0.5 truncated, summed over
// the 5 x 5 window (the displayed top row weighing the picture's upper rows, that is the last
// stored ones), then rounded halves away from zero, plus the bias, clamped.
std::vector<uint8_t> ReferenceUserFilter(const Picture& p, const UserFilterParams& f) {
  return ReferenceSquare(p, 5, [&f](Window& v) {
    int64_t acc = 0;
    for (int i = 0; i < 5; ++i) {
      for (int j = 0; j < 5; ++j) {
        acc += int64_t(static_cast<long double>(v[5 * i + j]) * 262144 * f.kernel[5 * (4 - i) + j] / f.scale + 0.5L);
      }
    }
    const int64_t level = acc >= 0 ? (acc + 131072) >> 18 : -((131072 - acc) >> 18);
    return int(std::clamp<int64_t>(level + f.bias, 0, 255));
  });
}

// Sketch: e = min(|V|, 255) + |H| of each interior sample's Sobel gradients, the border
// pixels background; crayon e below t is 0, else min(e, 255); pencil on grey 255 - that; pencil
// on 24-bit one grey from the mean of the three clamped strengths.
std::vector<uint8_t> ReferenceSketch(const Picture& p, int style, int t) {
  const int stride = (p.w * p.channels + 3) & ~3;
  const uint8_t background = style == 2 ? 255 : 0;
  std::vector<uint8_t> out = p.px;
  const auto at = [&](int x, int y, int c) { return int(p.px[y * stride + x * p.channels + c]); };
  for (int y = 0; y < p.h; ++y) {
    for (int x = 0; x < p.w; ++x) {
      int e[3] = {};
      for (int c = 0; c < p.channels; ++c) {
        if (x == 0 || y == 0 || x == p.w - 1 || y == p.h - 1) continue;
        const int v = at(x - 1, y + 1, c) + 2 * at(x, y + 1, c) + at(x + 1, y + 1, c) - at(x - 1, y - 1, c) -
                      2 * at(x, y - 1, c) - at(x + 1, y - 1, c);
        const int h = at(x + 1, y - 1, c) + 2 * at(x + 1, y, c) + at(x + 1, y + 1, c) - at(x - 1, y - 1, c) -
                      2 * at(x - 1, y, c) - at(x - 1, y + 1, c);
        e[c] = std::min(std::abs(v), 255) + std::abs(h);
      }
      const bool border = x == 0 || y == 0 || x == p.w - 1 || y == p.h - 1;
      const int mean = (std::min(e[0], 255) + std::min(e[1], 255) + std::min(e[2], 255)) / 3;
      for (int c = 0; c < p.channels; ++c) {
        int level = e[c] < t ? 0 : std::min(e[c], 255);
        if (style == 2) level = p.channels == 3 ? (mean < t ? 255 : 255 - mean) : 255 - level;
        out[y * stride + x * p.channels + c] = border ? background : uint8_t(level);
      }
    }
  }
  return out;
}

// A random kernel, whose sums mostly need 64 bits, then a small one mirrored top to bottom
// (repeated weights and rows), whose sums fit in 32 bits.
void ExpectUserFilterAsReference(HGLOBAL dib, std::mt19937& random, const std::string& label) {
  for (bool small : {false, true}) {
    UserFilterParams f{int32_t(random() % 41) - 20, int32_t(random() % 101) - 50, 0, {}};
    if (f.scale == 0) f.scale = 7;
    for (int32_t& weight : f.kernel) weight = random() % 3 == 0 ? 0 : int32_t(random() % 21) - 10;
    if (small) {
      for (int k = 0; k < 25; ++k) f.kernel[k] = k < 15 ? f.kernel[k] % 3 : f.kernel[20 - k / 5 * 5 + k % 5];
      f.scale = f.scale < 0 ? -30 : 30;
    }
    ScopedDib result(UserFilter(dib, &f));
    ASSERT_TRUE(result) << label;
    EXPECT_EQ(PixelBytes(result.get()), ReferenceUserFilter(Read(dib), f)) << label << " user filter scale " << f.scale;
  }
}

using NeighbourhoodReference = EngineTest;

void ExpectRandomImagesAsReference() {
  // Widths around the vertical strip of 64 columns, 1-pixel lines, odd widths, a long row.
  const std::tuple<int, int, std::vector<int>> shapes[] = {
      {1, 1, {2, 32}},    {1, 9, {2, 3, 32}},   {9, 1, {3, 4, 32}},       {5, 3, {2, 5, 6}},
      {63, 7, {3, 16}},   {65, 20, {2, 31}},    {131, 13, {3, 17, 32}}, {7, 70, {4, 9}},
      {600, 2, {2, 31}},  // running totals along a row past 2^16
  };
  std::mt19937 random(1234);
  for (const auto& [w, h, sides] : shapes) {
    for (bool rgb : {true, false}) {
      // Noise over a ramp, with runs of 0 and 255 so that clamps and extremes are reached.
      const auto level = [&random](int x, int y) {
        const unsigned r = random();
        return uint8_t(r % 7 == 0 ? 0 : r % 7 == 1 ? 255 : (x * 9 + y * 5 + int(r % 61)) & 255);
      };
      ScopedDib dib(rgb ? MakeRgbDib(w, h, [&](int x, int y) { return Bgr{level(x, y), level(x, y), level(x, y)}; })
                        : MakeGreyDib(w, h, level));
      ExpectUserFilterAsReference(dib.get(), random, std::to_string(w) + "x" + std::to_string(h));
      for (const SketchParams sketch : {SketchParams{1, 0}, SketchParams{1, 200}, SketchParams{2, 40}}) {
        if (w < 4 || h < 4) continue;  // refused, as the sketch tests check
        ScopedDib drawn(Sketch(dib.get(), &sketch));
        ASSERT_TRUE(drawn);
        EXPECT_EQ(PixelBytes(drawn.get()), ReferenceSketch(Read(dib.get()), sketch.style, sketch.threshold))
            << w << "x" << h << " sketch " << sketch.style << " " << sketch.threshold;
      }
      ScopedDib smoothed(EdgePreservingSmooth(dib.get()));
      ASSERT_TRUE(smoothed);
      EXPECT_EQ(PixelBytes(smoothed.get()), ReferenceSmoothing(Read(dib.get()))) << w << "x" << h << " smoothing";
      for (int n : sides) {
        ExpectSameAsReference(dib.get(), n, std::to_string(w) + "x" + std::to_string(h));
        // The sorted reference is slow on large windows over many pixels.
        if (n < 20 || w * h < 500) ExpectMedianAsReference(dib.get(), n, std::to_string(w) + "x" + std::to_string(h));
      }
    }
  }
}

TEST_F(NeighbourhoodReference, RandomImagesOfBothKinds) { ExpectRandomImagesAsReference(); }

// Again through the baseline builds of the row kernels, where the processor runs the wide ones.
TEST_F(NeighbourhoodReference, RandomImagesThroughTheBaselineKernels) {
  if (!WideKernels()) GTEST_SKIP() << "the baseline kernels are the ones that ran";
  struct Baseline {
    Baseline() { ForceBaselineKernels(true); }
    ~Baseline() { ForceBaselineKernels(false); }
  } baseline;
  ExpectRandomImagesAsReference();
}

TEST_F(NeighbourhoodReference, SoftenedBlurWithWindowsFarLongerThanThePicture) {
  // The box covers the whole line many times over: every output is the weighted mean of the
  // clamped window, whatever the side.
  ScopedDib rgb(MakeRgbDib(3, 2, [](int x, int y) { return Bgr{uint8_t(x * 80), uint8_t(y * 60), uint8_t(200)}; }));
  ScopedDib grey(MakeGreyDib(1, 2, [](int, int y) { return uint8_t(y == 0 ? 10 : 250); }));
  // Past 4096 the rounded means divide directly; n + m = 2^22 is the largest taken.
  for (auto [dib, n, m] : {std::tuple{rgb.get(), 5000, 0}, {rgb.get(), 70000, 3}, {grey.get(), 4194302, 2}}) {
    const Picture p = Read(dib);
    const auto mean = [n = n](const Window& w, int) { return int((int64_t(Sum(w)) + n / 2) / n); };
    const auto blend = [n = n, m = m](const Window& w, int s) {
      const int64_t d = int64_t(n) + m;
      return int((int64_t(Sum(w)) + int64_t(m) * s + d / 2) / d);
    };
    const SoftenParams params{n, m};
    ScopedDib result(SoftenedBlur(dib, &params));
    ASSERT_TRUE(result) << n;
    EXPECT_EQ(PixelBytes(result.get()), Reference(p.px, p.w, p.h, p.channels, n, mean, blend)) << n;
  }
  const SoftenParams tooLarge{4194302, 3};
  EXPECT_EQ(SoftenedBlur(grey.get(), &tooLarge), nullptr);
}

}  // namespace
