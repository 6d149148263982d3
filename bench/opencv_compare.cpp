// Side by side with OpenCV in one process, single-threaded: for each effect the megapixels per
// second of the engine and of its nearest OpenCV counterpart on the same 2048 x 2048 24-bit
// picture (the astronaut photo tiled), with the ratio engine / OpenCV; then the time of every
// catalogue effect on a 256 x 256 24-bit preview at its largest size parameters. Times are
// the thread's processor time, best of several runs.
//
//   fxui_opencv_compare [repeats] [part]   best of `repeats` runs per measurement (default 3);
//                                          only the effects whose names contain `part`
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "image/dib.h"

namespace {

using CvOp = std::function<void(const cv::Mat& in, cv::Mat& out)>;

// A record as words; curve effects get their 256 bytes after the first word.
struct Record {
  std::vector<int32_t> words = std::vector<int32_t>(65, 0);
  int given = 0;  // words set by hand, shown in the table
  Record(std::initializer_list<int32_t> first) : given(int(first.size())) {
    std::copy(first.begin(), first.end(), words.begin());
  }
  Record& Curve(int (*level)(int)) {
    auto* bytes = reinterpret_cast<uint8_t*>(words.data() + 1);
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<uint8_t>(level(i));
    return *this;
  }
};

int Falling(int i) { return 255 - i; }
int Rising(int i) { return i; }

// A DIB of width x height cut from (or tiled over) a photo, of the photo's kind (its
// header and palette kept).
HGLOBAL TiledPicture(HGLOBAL photo, int width, int height) {
  const auto* in = static_cast<const uint8_t*>(GlobalLock(photo));
  DibLayout from{};
  ReadDibLayout(in, GlobalSize(photo), &from);
  const int bytes = from.bitCount / 8;
  const int stride = DibRowStride(width, from.bitCount);
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, from.pixelOffset + size_t(stride) * height);
  auto* out = static_cast<uint8_t*>(GlobalLock(dib));
  std::memcpy(out, in, from.pixelOffset);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(out);
  header->biWidth = width;
  header->biHeight = height;
  header->biSizeImage = static_cast<DWORD>(size_t(stride) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = in + from.pixelOffset + ptrdiff_t(y % from.height) * from.stride + (x % from.width) * bytes;
      std::memcpy(out + from.pixelOffset + ptrdiff_t(y) * stride + x * bytes, p, size_t(bytes));
    }
  }
  GlobalUnlock(dib);
  GlobalUnlock(photo);
  return dib;
}

// This thread's processor time, seconds: on a machine shared with other work it counts only
// the run itself.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Best time of `repeats` runs, seconds of processor time.
double Best(int repeats, const std::function<void()>& run) {
  double best = 1e30;
  for (int r = 0; r < repeats; ++r) {
    const double start = ThreadSeconds();
    run();
    best = std::min(best, ThreadSeconds() - start);
  }
  return best;
}

double TimeEffect(HGLOBAL dib, int effect, const Record& record, int repeats) {
  bool failed = false;
  const double seconds = Best(repeats, [&] {
    HGLOBAL result = ApplyEffect(dib, effect, record.words.data());
    if (!result) failed = true;
    if (result) GlobalFree(result);
  });
  return failed ? -1 : seconds;
}

// The nearest-neighbour map of a warp, read off the warp itself: it runs over a picture whose
// pixel (x, y) holds the number y x side + x in its three bytes, so that each result pixel
// names the source pixel it was copied from. Pixels the warp fills from nowhere (numbers past
// the picture) map outside it. OpenCV's remap then does the same copies in the same order of
// memory reads, in the fixed-point map form it runs fastest on.
cv::Mat WarpMap(int side, int effect, const int32_t* record) {
  HGLOBAL numbers = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDibHeaderSize + size_t(DibRowStride(side, 24)) * side);
  auto* bytes = static_cast<uint8_t*>(GlobalLock(numbers));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
  header->biSize = kDibHeaderSize;
  header->biWidth = side;
  header->biHeight = side;
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biSizeImage = static_cast<DWORD>(size_t(DibRowStride(side, 24)) * side);
  for (int y = 0; y < side; ++y) {
    uint8_t* row = bytes + kDibHeaderSize + ptrdiff_t(y) * DibRowStride(side, 24);
    for (int x = 0; x < side; ++x) {
      const uint32_t n = uint32_t(y) * uint32_t(side) + uint32_t(x);
      row[3 * x] = uint8_t(n), row[3 * x + 1] = uint8_t(n >> 8), row[3 * x + 2] = uint8_t(n >> 16);
    }
  }
  GlobalUnlock(numbers);
  HGLOBAL warped = ApplyEffect(numbers, effect, record);
  GlobalFree(numbers);
  cv::Mat map(side, side, CV_16SC2, cv::Scalar(-1, -1));
  if (!warped) return map;
  const auto* out = static_cast<const uint8_t*>(GlobalLock(warped)) + kDibHeaderSize;
  for (int y = 0; y < side; ++y) {
    const uint8_t* row = out + ptrdiff_t(y) * DibRowStride(side, 24);
    for (int x = 0; x < side; ++x) {
      const uint32_t n = row[3 * x] | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
      if (n < uint32_t(side) * uint32_t(side)) {
        map.at<cv::Vec2s>(y, x) = cv::Vec2s(int16_t(n % uint32_t(side)), int16_t(n / uint32_t(side)));
      }
    }
  }
  GlobalUnlock(warped);
  GlobalFree(warped);
  return map;
}

struct Comparison {
  const char* effect;
  int id;
  Record record;
  const char* counterpart;
  CvOp op;
};

struct Preview {
  const char* effect;
  int id;
  Record record;
  bool grey = false;  // the effect takes 8-bit pictures only: timed on a grey one
};

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string part = argc > 2 ? argv[2] : "";
  const auto chosen = [&part](const char* effect) { return std::string(effect).find(part) != std::string::npos; };
  cv::setNumThreads(1);
  HGLOBAL photo = LoadPhoto(0);
  if (!photo) return 1;
  constexpr int kSide = 2048;
  HGLOBAL big = TiledPicture(photo, kSide, kSide);
  HGLOBAL preview = TiledPicture(photo, 256, 256);
  HGLOBAL greyPhoto = LoadPhoto(2);
  if (!greyPhoto) return 1;
  HGLOBAL greyPreview = TiledPicture(greyPhoto, 256, 256);

  cv::Mat lut(1, 256, CV_8UC1);
  for (int i = 0; i < 256; ++i) lut.at<uint8_t>(i) = static_cast<uint8_t>(255 - i);
  const CvOp table = [&](const cv::Mat& in, cv::Mat& out) { cv::LUT(in, lut, out); };
  // Remap over the warp's own map (made when first timed).
  const auto remap = [](int effect, const Record& record) {
    auto map = std::make_shared<cv::Mat>();
    return CvOp([map, effect, record](const cv::Mat& in, cv::Mat& out) {
      if (map->empty()) *map = WarpMap(in.cols, effect, record.words.data());
      cv::remap(in, out, *map, cv::Mat(), cv::INTER_NEAREST, cv::BORDER_CONSTANT);
    });
  };
  // Equalisation counts one histogram over every sample and maps them all through one table:
  // OpenCV's histogram equalisation over the same bytes seen as one channel.
  const CvOp equalise = [](const cv::Mat& in, cv::Mat& out) {
    out.create(in.size(), in.type());
    cv::Mat samples = out.reshape(1);
    cv::equalizeHist(in.reshape(1), samples);
  };
  const CvOp sobel = [](const cv::Mat& in, cv::Mat& out) { cv::Sobel(in, out, CV_8U, 1, 0, 3); };
  const auto box = [](int n) {
    return CvOp([n](const cv::Mat& in, cv::Mat& out) {
      cv::blur(in, out, cv::Size(n, n), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    });
  };
  const auto gauss = [](int n) {
    return CvOp([n](const cv::Mat& in, cv::Mat& out) { cv::GaussianBlur(in, out, cv::Size(n, n), 0, 0, cv::BORDER_REPLICATE); });
  };
  const auto median = [](int n) { return CvOp([n](const cv::Mat& in, cv::Mat& out) { cv::medianBlur(in, out, n); }); };
  const auto morph = [](int n, bool dilate) {
    return CvOp([n, dilate](const cv::Mat& in, cv::Mat& out) {
      const cv::Mat k = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(n, n));
      if (dilate) {
        cv::dilate(in, out, k, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
      } else {
        cv::erode(in, out, k, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
      }
    });
  };
  const CvOp filter5 = [](const cv::Mat& in, cv::Mat& out) {
    cv::filter2D(in, out, -1, cv::Mat::ones(5, 5, CV_32F) / 25.0f, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
  };
  Record userFilter{25, 0, 0};
  for (int k = 3; k < 28; ++k) userFilter.words[k] = 1;

  const Comparison comparisons[] = {
      {"brightness/contrast 1", 1, {0, 20, 30}, "LUT", table},
      {"curve 3", 3, Record{0}.Curve(Falling), "LUT", table},
      {"colour reduction 4", 4, {0, 8}, "LUT", table},
      {"equalise 5", 5, {}, "equalizeHist", equalise},
      {"invert 6", 6, {}, "LUT", table},
      {"threshold 7", 7, {128}, "LUT", table},
      {"solarise 23", 23, {}, "LUT", table},
      {"log curve 24", 24, {}, "LUT", table},
      {"tone adjustment 67", 67, {20, 30, -20, 0}, "LUT", table},
      {"level scaling 70", 70, {200}, "LUT", table},
      {"average 8, n 3", 8, {3}, "blur 3", box(3)},
      {"average 8, n 31", 8, {31}, "blur 31", box(31)},
      {"softened 9, n 3", 9, {3, 4}, "blur 3", box(3)},
      {"softened 9, n 31", 9, {31, 4}, "blur 31", box(31)},
      {"unsharp 18, n 3", 18, {3, 150, 4}, "blur 3", box(3)},
      {"unsharp 18, n 31", 18, {31, 150, 4}, "blur 31", box(31)},
      {"Gaussian 17, n 3", 17, {3}, "GaussianBlur 3", gauss(3)},
      {"Gaussian 17, n 31", 17, {31}, "GaussianBlur 31", gauss(31)},
      {"maximum 20, n 3", 20, {3, 1}, "dilate 3", morph(3, true)},
      {"maximum 20, n 31", 20, {31, 1}, "dilate 31", morph(31, true)},
      {"minimum 20, n 3", 20, {3, 0}, "erode 3", morph(3, false)},
      {"minimum 20, n 31", 20, {31, 0}, "erode 31", morph(31, false)},
      {"median 21, n 3", 21, {3}, "medianBlur 3", median(3)},
      {"median 21, n 31", 21, {31}, "medianBlur 31", median(31)},
      {"user filter 25", 25, userFilter, "filter2D 5x5", filter5},
      {"smoothing 16", 16, {}, "Sobel", sobel},
      {"find contour 22", 22, {1, 0, 128}, "Sobel", sobel},
      {"sketch 32", 32, {1, 20}, "Sobel", sobel},
      {"fisheye 41", 41, {60}, "remap nearest", remap(41, {60})},
      {"cone 48", 48, {60}, "remap nearest", remap(48, {60})},
      {"whirlpool 49", 49, {60}, "remap nearest", remap(49, {60})},
      {"spiral 50", 50, {60}, "remap nearest", remap(50, {60})},
      {"sphere 55", 55, {}, "remap nearest", remap(55, {})},
      {"rotational warp 57", 57, {3, 50}, "remap nearest", remap(57, {3, 50})},
      {"radial warp 64", 64, {3, 60}, "remap nearest", remap(64, {3, 60})},
      {"Magic Mirror 56 radial", 56, Record{2}.Curve(Rising), "remap nearest", remap(56, Record{2}.Curve(Rising))},
      {"Magic Mirror 56 angular", 56, Record{3}.Curve(Rising), "remap nearest", remap(56, Record{3}.Curve(Rising))},
  };

  auto* bits = static_cast<uint8_t*>(GlobalLock(big));
  const cv::Mat in(kSide, kSide, CV_8UC3, bits + kDibHeaderSize, size_t(DibRowStride(kSide, 24)));
  cv::Mat out(kSide, kSide, CV_8UC3);
  const double mpix = double(kSide) * kSide / 1e6;
  std::printf("2048 x 2048 24-bit, single thread, best of %d\n\n", repeats);
  std::printf("| effect | OpenCV | engine Mpix/s | OpenCV Mpix/s | engine / OpenCV |\n|---|---|---|---|---|\n");
  for (const Comparison& c : comparisons) {
    if (!chosen(c.effect)) continue;
    const double engine = TimeEffect(big, c.id, c.record, repeats);
    c.op(in, out);  // once untimed: builds a warp's map
    const double theirs = Best(repeats, [&] { c.op(in, out); });
    if (engine < 0) {
      std::printf("| %s | %s | failed | %.1f | - |\n", c.effect, c.counterpart, mpix / theirs);
    } else {
      std::printf("| %s | %s | %.1f | %.1f | %.2f |\n", c.effect, c.counterpart, mpix / engine, mpix / theirs,
                  theirs / engine);
    }
    std::fflush(stdout);
  }
  GlobalUnlock(big);

  const Preview previews[] = {
      {"brightness/contrast 1", 1, {0, 127, 127}},  {"hue/saturation 2", 2, {180, 100}},
      {"curve 3", 3, Record{0}.Curve(Falling)},      {"colour reduction 4", 4, {0, 128}},
      {"equalise 5", 5, {}},                         {"invert 6", 6, {}},
      {"threshold 7", 7, {128}},                     {"average 8", 8, {32}},
      {"softened 9", 9, {32, 4}},                    {"smoothing 16", 16, {}},
      {"Gaussian 17", 17, {32}},                     {"unsharp 18", 18, {32, 500, 0}},
      {"one-axis sharpen 19", 19, {1}},              {"maximum 20", 20, {32, 1}},
      {"minimum 20", 20, {32, 0}},                   {"median 21", 21, {32}},
      {"find contour 22", 22, {1, 0, 128}},          {"solarise 23", 23, {}},
      {"log curve 24", 24, {}},                      {"user filter 25", 25, userFilter},
      {"sketch 32", 32, {2, 0}},                     {"auto enhance 33", 33, {100}},
      {"film grain 34", 34, {100}},                  {"splash 35", 35, {100}},
      {"ripple 36", 36, {100}},                      {"wrinkle 37", 37, {100, 0}},
      {"add noise 38", 38, {100}},                   {"melting 39", 39, {100}},
      {"oil painting 40", 40, {100}},                {"fisheye 41", 41, {100}},
      {"cone 48", 48, {100}},                        {"whirlpool 49", 49, {100}},
      {"spiral 50", 50, {100}},                      {"3D grid 51", 51, {3, 0, 1}},
      {"mosaic 52", 52, {256, 256}},                 {"motion blur 53 diagonal", 53, {8, 32}},
      {"motion blur 53 across", 53, {5, 32}},        {"emboss 54", 54, {8, 4, 10, 0x808080}},
      {"sphere 55", 55, {}},                         {"Magic Mirror 56 radial", 56, Record{2}.Curve(Rising)},
      {"Magic Mirror 56 angular", 56, Record{3}.Curve(Rising)}, {"rotational warp 57", 57, {1, 100}},
      {"radial warp 64", 64, {3, 100}},              {"ribbon 65", 65, {100, 100, 0}},
      {"cylinder 66", 66, {}},                       {"tone adjustment 67", 67, {100, 100, 100, 0}},
      {"directional erosion 68 (8-bit)", 68, {128}, true},         {"level scaling 70", 70, {200}},
  };
  std::printf("\n256 x 256 24-bit preview at the largest size parameters, best of %d\n\n", repeats + 2);
  std::printf("| effect | record | ms |\n|---|---|---|\n");
  for (const Preview& p : previews) {
    if (!chosen(p.effect)) continue;
    const double seconds = TimeEffect(p.grey ? greyPreview : preview, p.id, p.record, repeats + 2);
    std::string words;
    for (int k = 0; k < std::min(p.record.given, 4); ++k) words += (k ? " " : "") + std::to_string(p.record.words[k]);
    if (seconds < 0) {
      std::printf("| %s | %s | failed |\n", p.effect, words.c_str());
    } else {
      std::printf("| %s | %s | %.2f |\n", p.effect, words.c_str(), seconds * 1e3);
    }
    std::fflush(stdout);
  }
  GlobalFree(preview);
  GlobalFree(greyPreview);
  GlobalFree(greyPhoto);
  GlobalFree(big);
  GlobalFree(photo);
  return 0;
}
