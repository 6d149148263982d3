// BMP files to and from DIB blocks: what a loaded block holds, what a saved file holds, and
// the files that are refused.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "platform_control.h"
#include "test_images.h"
#include "tools/bmp/bmp_file.h"
#include "tools/bmp_test_files.h"

namespace {

// A 3 x 2 24-bit file written out by hand: rows of 9 pixel bytes and 3 padding bytes, the
// padding deliberately not zero.
const Bytes kOddWidthFile = {
    'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,              // file header
    40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,            // size, width, height, planes, bits
    0, 0, 0, 0, 24, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,  // compression, image size, dpi
    0, 0, 0, 0, 0, 0, 0, 0,                                      // colours used, important
    1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA1, 0xA2, 0xA3,                 // bottom row
    10, 11, 12, 13, 14, 15, 16, 17, 18, 0xB1, 0xB2, 0xB3,        // top row
};

class BmpFileTest : public TempDirTest {
 protected:
  // Loads bytes through a file, expecting success.
  HGLOBAL Load(const Bytes& bytes) {
    std::string error;
    HGLOBAL dib = LoadBmpFile(Write("in.bmp", bytes), &error);
    EXPECT_NE(dib, nullptr) << error;
    return dib;
  }
};

TEST_F(BmpFileTest, OddWidthFileRoundTripsByteForByte) {
  ScopedDib dib(Load(kOddWidthFile));
  ASSERT_TRUE(dib);
  // The block is the 40-byte header and two 12-byte rows, padding as found.
  EXPECT_EQ(BlockBytes(dib.get()), Bytes(kOddWidthFile.begin() + 14, kOddWidthFile.end()));

  std::string error;
  const std::string out = PathOf("out.bmp");
  ASSERT_TRUE(SaveBmpFile(out, dib.get(), &error)) << error;
  EXPECT_EQ(Read(out), kOddWidthFile);
  EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
}

TEST_F(BmpFileTest, TopDownFileIsTurnedBottomUp) {
  // 2 x 3 at 24 bits, stride 8; the file lists the top row first.
  BmpFields fields;
  fields.width = 2;
  fields.height = -3;
  fields.pixels = {11, 12, 13, 14, 15, 16, 0, 0, 21, 22, 23, 24, 25, 26, 0, 0, 31, 32, 33, 34, 35, 36, 0, 0};
  ScopedDib dib(Load(BmpFile(fields)));
  ASSERT_TRUE(dib);
  BITMAPINFOHEADER h;
  std::memcpy(&h, BlockBytes(dib.get()).data(), sizeof h);
  EXPECT_EQ(h.biHeight, 3);
  EXPECT_EQ(h.biSizeImage, 24u);
  const Bytes bottomUp = {31, 32, 33, 34, 35, 36, 0, 0, 21, 22, 23, 24, 25, 26, 0, 0, 11, 12, 13, 14, 15, 16, 0, 0};
  EXPECT_EQ(PixelBytes(dib.get()), bottomUp);
}

TEST_F(BmpFileTest, PaletteLengthComesFromTheFileOrTheBitCount) {
  struct Case {
    uint16_t bits;
    uint32_t fileClrUsed;
    int width;
    uint32_t stride;
    uint32_t colours;  // biClrUsed of the loaded block
  };
  // 0 means the full 2^bits; a smaller count is kept.
  const Case cases[] = {{8, 5, 5, 8, 5}, {4, 0, 3, 4, 16}, {1, 1, 33, 8, 1}};
  for (const Case& c : cases) {
    BmpFields fields;
    fields.width = c.width;
    fields.height = 2;
    fields.bits = c.bits;
    fields.clrUsed = c.fileClrUsed;
    for (uint32_t i = 0; i < c.colours; ++i) {
      fields.palette.insert(fields.palette.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x55), uint8_t(i)});
    }
    for (uint32_t i = 0; i < 2 * c.stride; ++i) fields.pixels.push_back(uint8_t(i * 37 + 1));
    const Bytes file = BmpFile(fields);
    const std::string label = std::to_string(c.bits) + " bits, biClrUsed " + std::to_string(c.fileClrUsed);
    ScopedDib dib(Load(file));
    ASSERT_TRUE(dib) << label;
    // The block is the file's header (but for biClrUsed), palette and rows, byte for byte.
    Bytes expected(file.begin() + 14, file.end());
    expected[32] = static_cast<uint8_t>(c.colours);
    expected[33] = static_cast<uint8_t>(c.colours >> 8);
    EXPECT_EQ(BlockBytes(dib.get()), expected) << label;
  }
}

TEST_F(BmpFileTest, MalformedFilesAreRefusedWithAReason) {
  BmpFields good;
  good.width = 3;
  good.height = 2;
  good.pixels = Bytes(24, 0x5A);
  struct Case {
    const char* what;
    Bytes bytes;
    const char* reasonMentions;  // a word the reason must contain
  };
  std::vector<Case> cases;
  auto with = [&](const char* what, const char* reason, auto change) {
    BmpFields s = good;
    change(s);
    cases.push_back({what, BmpFile(s), reason});
  };
  with("no BM signature", "BM", [](BmpFields& s) { s.signature[0] = 'M', s.signature[1] = 'B'; });
  Bytes cut = BmpFile(good);
  cut.pop_back();
  cases.push_back({"last pixel byte missing", cut, "truncated"});
  cases.push_back({"shorter than the headers", Bytes(cut.begin(), cut.begin() + 30), "short"});
  with("108-byte header", "108", [](BmpFields& s) { s.headerSize = 108; });
  with("run-length compressed", "compress", [](BmpFields& s) {
    s.bits = 8, s.compression = 1, s.clrUsed = 2, s.palette = Bytes(8, 0);
  });
  with("16 bits", "bit", [](BmpFields& s) { s.bits = 16, s.pixels.resize(64); });
  with("17 colours at 4 bits", "palette", [](BmpFields& s) { s.bits = 4, s.clrUsed = 17, s.palette = Bytes(4 * 17, 0); });
  // biClrUsed 0 means 256 entries: the palette runs past the end of the file.
  with("palette cut short", "palette", [](BmpFields& s) { s.bits = 8, s.palette = Bytes(16, 0), s.pixels.clear(); });
  with("height far beyond the pixels", "truncated", [](BmpFields& s) { s.height = 40000; });
  with("rows beyond 2 GB", "large", [](BmpFields& s) { s.height = 0x7FFFFFFF; });
  with("width 0", "size", [](BmpFields& s) { s.width = 0; });
  with("height INT32_MIN", "size", [](BmpFields& s) { s.height = INT32_MIN; });
  with("three planes", "planes", [](BmpFields& s) { s.planes = 3; });
  // 3 x width = 2^32 + 5: a row size cut to 32 bits (8 bytes) must not let this pass with the
  // 16 bytes that 2 such rows would need.
  with("row of 2^32 + 5 bytes", "", [](BmpFields& s) { s.width = 1431655767, s.pixels = Bytes(16, 0); });

  for (const Case& c : cases) {
    std::string error;
    const size_t before = PlatformLiveBlockCount();
    HGLOBAL dib = DecodeBmp(c.bytes.data(), c.bytes.size(), &error);
    EXPECT_EQ(dib, nullptr) << c.what;
    if (dib) GlobalFree(dib);
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_NE(error.find(c.reasonMentions), std::string::npos) << c.what << ": '" << error << "'";
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what << ": one line";
    EXPECT_EQ(PlatformLiveBlockCount(), before) << c.what;
  }
  // Through a file, and for a missing file, the reason names the file.
  for (const std::string& path : {Write("bad.bmp", cases[0].bytes), PathOf("nowhere.bmp")}) {
    std::string error;
    EXPECT_EQ(LoadBmpFile(path, &error), nullptr);
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
}

// The loader reads the header, then exactly what it announces: a file that claims more than
// it holds is refused before the image is allocated (the peak of live memory stays small), a
// file with bytes after its rows loads, and a stream that never ends (a device) is refused
// on its first 54 bytes instead of being read to its end.
TEST_F(BmpFileTest, ReadsOnlyWhatTheHeaderAnnounces) {
  struct Case {
    const char* what;
    int32_t width, height;
    size_t bytesInFile;
    bool loads;
  };
  const Case cases[] = {
      {"claims 20000 x 20000 (1.2 GB), holds 24 bytes", 20000, 20000, 24, false},
      {"3 x 2 followed by 4000 bytes more", 3, 2, 24 + 4000, true},
  };
  for (const Case& c : cases) {
    BmpFields s;
    s.width = c.width;
    s.height = c.height;
    s.pixels = Bytes(c.bytesInFile, 0x5A);
    std::string error;
    PlatformResetPeakLiveBytes();
    const size_t live = PlatformPeakLiveBytes();
    ScopedDib dib(LoadBmpFile(Write("claim.bmp", BmpFile(s)), &error));
    EXPECT_EQ(dib.get() != nullptr, c.loads) << c.what << ": " << error;
    EXPECT_LE(PlatformPeakLiveBytes() - live, 40u + 24u) << c.what << ": allocated for a claim";
    if (!c.loads) {
      EXPECT_NE(error.find("truncated"), std::string::npos) << c.what << ": " << error;
    }
  }
  std::FILE* zeros = std::fopen("/dev/zero", "rb");
  ASSERT_NE(zeros, nullptr);
  std::string error;
  EXPECT_EQ(ReadBmpStream(zeros, &error), nullptr);
  EXPECT_NE(error.find("BM"), std::string::npos) << error;
  std::fclose(zeros);
}

}  // namespace
