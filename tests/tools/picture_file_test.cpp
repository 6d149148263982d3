// PNG and JPEG files to and from DIB blocks: round trips keep the pixels, grey pictures come
// back as grey-ramp DIBs, palette images keep their colours, and bad files are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "image/dib.h"
#include "platform_control.h"
#include "test_images.h"
#include "tools/bmp_test_files.h"
#include "tools/fxapply/picture_file.h"

namespace {

// 3 x 2, rows of 9 bytes: odd width, so that padding is in play.
HGLOBAL OddRgb() {
  return MakeRgbDib(3, 2, [](int x, int row) {
    return Bgr{static_cast<uint8_t>(10 * x + row), static_cast<uint8_t>(200 - 50 * x), static_cast<uint8_t>(255 * row)};
  });
}
HGLOBAL GreyRamp() { return MakeGreyDib(5, 3, [](int x, int row) { return static_cast<uint8_t>(60 * row + x); }); }
// 4 bits, two entries; indices 1 0 1 on the single row.
HGLOBAL FourBit() {
  return MakePaletteDib(3, 1, 4, {RGBQUAD{10, 20, 30, 0}, RGBQUAD{200, 100, 0, 0}},
                        [](int x, int) { return static_cast<uint8_t>(x % 2 ? 0 : 1); });
}
// 8 bits, a palette of grey entries that is not the ramp (two entries, 0 and 255 swapped).
HGLOBAL TwoGreys() {
  return MakePaletteDib(2, 1, 8, {RGBQUAD{255, 255, 255, 0}, RGBQUAD{0, 0, 0, 0}},
                        [](int x, int) { return static_cast<uint8_t>(x); });
}

class PictureFileTest : public TempDirTest {
 protected:
  HGLOBAL RoundTrip(HGLOBAL dib, const std::string& name, PictureFormat format, std::string* note) {
    std::string error;
    EXPECT_TRUE(SavePictureFile(PathOf(name), format, dib, &error)) << error;
    HGLOBAL back = LoadPictureFile(PathOf(name), &error, note);
    EXPECT_NE(back, nullptr) << error;
    return back;
  }
};

TEST_F(PictureFileTest, FormatComesFromTheExtension) {
  const std::pair<const char*, PictureFormat> cases[] = {
      {"a.bmp", PictureFormat::kBmp},   {"a.PNG", PictureFormat::kPng},     {"dir/a.Jpeg", PictureFormat::kJpeg},
      {"a.jpg", PictureFormat::kJpeg},  {"a.gif", PictureFormat::kUnknown}, {"a", PictureFormat::kUnknown},
      {"x.png/a", PictureFormat::kUnknown},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(FormatOfPath(path), format) << path;
}

// PNG is lossless: the pixels come back exactly, as 24-bit or as a grey ramp; palette images
// come back as 24-bit with each index looked up in the palette.
TEST_F(PictureFileTest, PngRoundTripsKeepThePixels) {
  struct Case {
    const char* what;
    HGLOBAL (*make)();
    int kind;             // ClassifyDib of what comes back
    Bytes expectedPixels;  // empty: the source's own pixel bytes
  };
  const Case cases[] = {
      {"24-bit, odd width", OddRgb, kDibRgb24, {}},
      {"grey ramp", GreyRamp, kDibGreyRamp, {}},
      // Indices 1 0 1 through the palette, blue green red, row padded to 12 bytes.
      {"4-bit palette", FourBit, kDibRgb24, {200, 100, 0, 10, 20, 30, 200, 100, 0, 0, 0, 0}},
      // White then black: grey entries that are not the ramp still keep their look.
      {"8-bit palette of two greys", TwoGreys, kDibRgb24, {255, 255, 255, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    ScopedDib source(c.make());
    std::string note = "stale";
    ScopedDib back(RoundTrip(source.get(), "round.png", PictureFormat::kPng, &note));
    ASSERT_TRUE(back) << c.what;
    EXPECT_EQ(ClassifyDib(back.get()), c.kind) << c.what;
    int w = 0, h = 0, sw = 0, sh = 0;
    GetDibSize(back.get(), &w, &h);
    GetDibSize(source.get(), &sw, &sh);
    EXPECT_TRUE(w == sw && h == sh) << c.what << ": " << w << " x " << h;
    EXPECT_EQ(PixelBytes(back.get()), c.expectedPixels.empty() ? PixelBytes(source.get()) : c.expectedPixels) << c.what;
    EXPECT_EQ(note, "") << c.what;
  }
}

// JPEG is lossy, but a flat picture stays flat within two levels; the encoder writes colour,
// so a grey picture comes back as 24-bit with equal channels.
TEST_F(PictureFileTest, JpegKeepsAFlatPicture) {
  struct Case {
    const char* what;
    HGLOBAL dib;
    Bgr expected;
  };
  ScopedDib grey(MakeGreyDib(16, 16, [](int, int) { return uint8_t{100}; }));
  ScopedDib colour(MakeRgbDib(16, 16, [](int, int) { return Bgr{40, 120, 200}; }));
  const Case cases[] = {{"grey 100", grey.get(), Bgr{100, 100, 100}}, {"colour", colour.get(), Bgr{40, 120, 200}}};
  for (const Case& c : cases) {
    ScopedDib back(RoundTrip(c.dib, "flat.jpg", PictureFormat::kJpeg, nullptr));
    ASSERT_TRUE(back) << c.what;
    EXPECT_EQ(ClassifyDib(back.get()), kDibRgb24) << c.what;
    int worst = 0;
    for (int i = 0; i < 256; ++i) {
      const Bgr got = RgbAt(back.get(), i % 16, i / 16);
      worst = std::max({worst, std::abs(got.b - c.expected.b), std::abs(got.g - c.expected.g), std::abs(got.r - c.expected.r)});
    }
    EXPECT_LE(worst, 2) << c.what;
  }
}

// Two small PNG files with alpha, put together chunk by chunk (zlib data and CRCs computed
// beside the test): 1 x 1 grey 0x99 with alpha 0x33, and 2 x 1 colour (10, 20, 30) and
// (40, 50, 60) with alpha 0 and 255.
const Bytes kGreyAlphaPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x04, 0x00, 0x00, 0x00, 0xB5, 0x1C, 0x0C, 0x02, 0x00,
    0x00, 0x00, 0x0B, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0x98, 0x69, 0x0C, 0x00, 0x01, 0x68, 0x00,
    0xCD, 0x8B, 0x31, 0x0A, 0xEC, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
const Bytes kRgbAlphaPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F, 0x8A, 0x00,
    0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xE0, 0x12, 0x91, 0x63, 0xD0, 0x30, 0xB2,
    0xF9, 0x0F, 0x00, 0x04, 0x46, 0x01, 0xD2, 0x4A, 0x0D, 0x15, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

TEST_F(PictureFileTest, AlphaIsDroppedWithANote) {
  struct Case {
    const char* what;
    const Bytes& file;
    int kind;
    Bytes pixels;  // as stored: blue, green, red for colour; padded rows
  };
  const Case cases[] = {{"grey and alpha", kGreyAlphaPng, kDibGreyRamp, {0x99, 0, 0, 0}},
                        {"colour and alpha", kRgbAlphaPng, kDibRgb24, {30, 20, 10, 60, 50, 40, 0, 0}}};
  for (const Case& c : cases) {
    std::string error, note;
    ScopedDib dib(DecodePicture(c.file.data(), c.file.size(), &error, &note));
    ASSERT_TRUE(dib) << c.what << ": " << error;
    EXPECT_EQ(ClassifyDib(dib.get()), c.kind) << c.what;
    EXPECT_EQ(PixelBytes(dib.get()), c.pixels) << c.what;
    EXPECT_NE(note.find("alpha"), std::string::npos) << c.what << ": " << note;
  }
}

TEST_F(PictureFileTest, BadFilesAreRefusedWithAReason) {
  ScopedDib source(OddRgb());
  std::string error;
  ASSERT_TRUE(SavePictureFile(PathOf("good.png"), PictureFormat::kPng, source.get(), &error)) << error;
  const Bytes png = Read(PathOf("good.png"));
  // The same file with its header saying 10000 x 10000: no 60-odd bytes can hold that.
  Bytes bigPng = png;
  for (size_t at : {16, 20}) bigPng[at + 2] = 0x27, bigPng[at + 3] = 0x10;
  // A baseline JPEG whose frame header claims 65000 x 65000 colour pixels (12.7 GB).
  const Bytes hugeJpeg = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFD, 0xE8, 0xFD, 0xE8, 0x03,
                          0x01, 0x11, 0x00, 0x02, 0x11, 0x00, 0x03, 0x11, 0x00, 0xFF, 0xD9};
  // A Huffman table whose 16 counts say 255 codes each: 4080 codes for a table of 256.
  Bytes overfullTable = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00};
  overfullTable.resize(overfullTable.size() + 16, 0xFF);
  struct Case {
    const char* what;
    Bytes bytes;
    const char* reasonMentions;
  };
  const Case cases[] = {
      {"JPEG Huffman table of 4080 codes", overfullTable, "Huffman"},
      {"PNG cut in its pixel data", Bytes(png.begin(), png.end() - 20), "PNG"},
      {"PNG signature alone", Bytes(png.begin(), png.begin() + 8), "PNG"},
      {"JPEG claiming 65000 x 65000", hugeJpeg, "too large"},
      {"PNG claiming 10000 x 10000", bigPng, "truncated"},
      {"text", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, "not a BMP, PNG or JPEG"},
      {"empty", Bytes{}, "not a BMP, PNG or JPEG"},
  };
  for (const Case& c : cases) {
    PlatformResetPeakLiveBytes();
    const size_t live = PlatformPeakLiveBytes();
    const std::string path = Write("bad.img", c.bytes);
    error.clear();
    HGLOBAL dib = LoadPictureFile(path, &error, nullptr);
    EXPECT_EQ(dib, nullptr) << c.what;
    if (dib) GlobalFree(dib);
    EXPECT_NE(error.find(c.reasonMentions), std::string::npos) << c.what << ": " << error;
    EXPECT_NE(error.find(path), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    EXPECT_EQ(PlatformPeakLiveBytes(), live) << c.what << ": no image block was made";
  }
}

}  // namespace
