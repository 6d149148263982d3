// The old-style file calls of the native platform layer: create, write, read, seek,
// truncate, existence checks and deletion, and the OFSTRUCT they fill.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <windows.h>

#include "tools/bmp_test_files.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public TempDirTest {
 protected:
  static std::string Contents(const std::string& path) {
    const Bytes bytes = Read(path);
    return std::string(bytes.begin(), bytes.end());
  }
  static void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
};

TEST_F(FilesTest, CreateWriteCloseThenReadBack) {
  const std::string path = PathOf("digits.bin");
  OFSTRUCT of;
  std::memset(&of, 0xCC, sizeof of);
  const HFILE out = OpenFile(path.c_str(), &of, OF_CREATE | OF_WRITE);
  ASSERT_NE(out, HFILE_ERROR);
  EXPECT_EQ(of.nErrCode, 0);
  EXPECT_EQ(of.cBytes, sizeof(OFSTRUCT));
  EXPECT_EQ(_lwrite(out, "0123456789", 10), 10u);
  EXPECT_EQ(_lclose(out), 0);
  EXPECT_EQ(Contents(path), "0123456789");

  const HFILE in = OpenFile(path.c_str(), &of, OF_READ);
  ASSERT_NE(in, HFILE_ERROR);
  EXPECT_EQ(of.nErrCode, 0);
  char buffer[32] = {};
  EXPECT_EQ(_lread(in, buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  // Asking for more than is left gives what is left, then nothing.
  EXPECT_EQ(_lread(in, buffer, sizeof buffer), 6u);
  EXPECT_EQ(std::string(buffer, 6), "456789");
  EXPECT_EQ(_lread(in, buffer, sizeof buffer), 0u);
  EXPECT_EQ(_lclose(in), 0);
}

TEST_F(FilesTest, WritingNothingTruncatesAtThePosition) {
  const std::string path = PathOf("trunc.bin");
  Put(path, "0123456789");
  const HFILE file = OpenFile(path.c_str(), nullptr, OF_READWRITE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 4, FILE_BEGIN), 4);
  EXPECT_EQ(_lwrite(file, "", 0), 0u);
  EXPECT_EQ(_llseek(file, 0, FILE_END), 4);
  _lclose(file);
  EXPECT_EQ(Contents(path), "0123");
}

TEST_F(FilesTest, DeleteRemovesTheFile) {
  const std::string path = PathOf("doomed.bin");
  Put(path, "x");
  OFSTRUCT of{};
  const HFILE result = OpenFile(path.c_str(), &of, OF_DELETE);
  EXPECT_NE(result, HFILE_ERROR);
  EXPECT_GT(result, 0);
  EXPECT_EQ(of.nErrCode, 0);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(OpenFile(path.c_str(), &of, OF_EXIST), HFILE_ERROR);

  // Deleting it again fails: file not found.
  std::memset(&of, 0, sizeof of);
  EXPECT_EQ(OpenFile(path.c_str(), &of, OF_DELETE), HFILE_ERROR);
  EXPECT_EQ(of.nErrCode, 2);
}

TEST_F(FilesTest, MissingFileGivesErrorAndCodeTwo) {
  const std::string path = PathOf("absent.bin");
  for (UINT style : {UINT{OF_READ}, UINT{OF_WRITE}, UINT{OF_READWRITE}}) {
    OFSTRUCT of{};
    EXPECT_EQ(OpenFile(path.c_str(), &of, style), HFILE_ERROR) << "style " << style;
    EXPECT_EQ(of.nErrCode, 2) << "style " << style;
    EXPECT_FALSE(fs::exists(path)) << "only OF_CREATE makes a file, style " << style;
  }
  EXPECT_EQ(OpenFile(nullptr, nullptr, OF_READ), HFILE_ERROR);
}

}  // namespace
