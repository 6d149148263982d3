// The old-style file calls of the native platform layer, as the parameter files use them:
// create over an older file, write, seek, read to the end, truncate, delete, and the codes
// a missing file gives.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include <windows.h>

#include "tools/bmp_test_files.h"

namespace {

using FilesTest = TempDirTest;

TEST_F(FilesTest, CreateWriteSeekReadTruncateDelete) {
  const std::string path = PathOf("digits.bin");
  Write("digits.bin", Bytes(40, 'x'));
  OFSTRUCT of;
  std::memset(&of, 0xCC, sizeof of);
  const HFILE file = OpenFile(path.c_str(), &of, OF_CREATE | OF_READWRITE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(of.nErrCode, 0);
  EXPECT_EQ(of.cBytes, sizeof(OFSTRUCT));
  EXPECT_EQ(_lwrite(file, "0123456789", 10), 10u);
  EXPECT_EQ(_llseek(file, 0, FILE_END), 10) << "the older, longer file is cut";
  // Asking for more than is left gives what is left, then nothing.
  char buffer[32] = {};
  EXPECT_EQ(_llseek(file, 6, FILE_BEGIN), 6);
  EXPECT_EQ(_lread(file, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(_lread(file, buffer, sizeof buffer), 0u);
  // Writing nothing truncates at the position.
  EXPECT_EQ(_llseek(file, 4, FILE_BEGIN), 4);
  EXPECT_EQ(_lwrite(file, "", 0), 0u);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(Read(path), (Bytes{'0', '1', '2', '3'}));

  EXPECT_GT(OpenFile(path.c_str(), &of, OF_DELETE), 0);
  EXPECT_EQ(of.nErrCode, 0);
  // Once it is gone every way of opening it fails with code 2 (not found) and makes no file.
  for (UINT style : {UINT{OF_READ}, UINT{OF_WRITE}, UINT{OF_READWRITE}, UINT{OF_EXIST}, UINT{OF_DELETE}}) {
    std::memset(&of, 0, sizeof of);
    EXPECT_EQ(OpenFile(path.c_str(), &of, style), HFILE_ERROR) << "style " << style;
    EXPECT_EQ(of.nErrCode, 2) << "style " << style;
    EXPECT_FALSE(std::filesystem::exists(path)) << "style " << style;
  }
  EXPECT_EQ(OpenFile(nullptr, nullptr, OF_READ), HFILE_ERROR);
}

}  // namespace
