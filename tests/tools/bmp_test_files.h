// BMP files put together field by field (so that any field can lie), and a fixture with a
// folder of its own for the files a test writes.
#ifndef FXUI_TESTS_TOOLS_BMP_TEST_FILES_H
#define FXUI_TESTS_TOOLS_BMP_TEST_FILES_H

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform_control.h"

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes* b, uint32_t v) {
  b->push_back(static_cast<uint8_t>(v));
  b->push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes* b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct BmpFields {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  uint32_t headerSize = 40;
  uint16_t planes = 1;
  Bytes palette;  // written right after the header
  Bytes gap;      // written between the palette and the pixels
  Bytes pixels;   // the rows as stored
  char signature[2] = {'B', 'M'};
};

inline Bytes BmpFile(const BmpFields& s) {
  const uint32_t offBits = 14 + s.headerSize + static_cast<uint32_t>(s.palette.size() + s.gap.size());
  Bytes b = {static_cast<uint8_t>(s.signature[0]), static_cast<uint8_t>(s.signature[1])};
  Put32(&b, offBits + static_cast<uint32_t>(s.pixels.size()));
  Put32(&b, 0);
  Put32(&b, offBits);
  Put32(&b, s.headerSize);
  Put32(&b, static_cast<uint32_t>(s.width));
  Put32(&b, static_cast<uint32_t>(s.height));
  Put16(&b, s.planes);
  Put16(&b, s.bits);
  Put32(&b, s.compression);
  Put32(&b, static_cast<uint32_t>(s.pixels.size()));
  Put32(&b, 2835);
  Put32(&b, 2835);
  Put32(&b, s.clrUsed);
  Put32(&b, 0);
  b.resize(14 + s.headerSize, 0);  // the rest of a longer header
  b.insert(b.end(), s.palette.begin(), s.palette.end());
  b.insert(b.end(), s.gap.begin(), s.gap.end());
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  return b;
}

// A plain bottom-up file with biClrUsed = palette entries.
inline Bytes BmpFile(int width, int height, int bits, const Bytes& palette, const Bytes& rows) {
  BmpFields s;
  s.width = width;
  s.height = height;
  s.bits = static_cast<uint16_t>(bits);
  s.clrUsed = static_cast<uint32_t>(palette.size() / 4);
  s.palette = palette;
  s.pixels = rows;
  return BmpFile(s);
}

// A fixture with an empty folder of its own, removed afterwards, that checks that the test
// left no memory block behind.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("fxui_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    blocksBefore_ = PlatformLiveBlockCount();
  }
  void TearDown() override {
    PlatformFailAllocation(0);
    EXPECT_EQ(PlatformLiveBlockCount(), blocksBefore_) << "memory blocks leaked";
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  static Bytes Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::path dir_;
  size_t blocksBefore_ = 0;
};

#endif
