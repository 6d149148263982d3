// The fxapply command run in-process: arguments, exit status, messages and the files it
// writes (or does not write).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "fxui.h"
#include "platform_control.h"
#include "test_images.h"
#include "tools/bmp_test_files.h"
#include "tools/fxapply/fxapply.h"

namespace {

namespace fs = std::filesystem;

// 3 x 2 at 24 bits (rows of 9 bytes and 3 of padding) with levels on both sides of 127/128.
const Bytes kLevelRows = {
    0,   1,   126, 127, 128, 129, 254, 255, 200, 0, 0, 0,  // bottom row
    64,  191, 127, 128, 0,   255, 100, 150, 50,  0, 0, 0,  // top row
};
// The same levels through contrast 127: 0..127 become 0, 128..255 become 255.
const Bytes kThresholdRows = {
    0, 0,   0, 0,   255, 255, 255, 255, 255, 0, 0, 0,
    0, 255, 0, 255, 0,   255, 0,   255, 0,   0, 0, 0,
};

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

std::string ReadBack(std::FILE* f) {
  std::string text;
  std::rewind(f);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

class FxApplyTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    PlatformResetKeys();
    PlatformFailAllocation(0);
    SetFxAbortHook(1, nullptr);
    SetFxProgressHook(1, nullptr);
    input_ = Write("in.bmp", BmpFile(3, 2, 24, {}, kLevelRows));
    output_ = PathOf("out.bmp");
  }
  void TearDown() override {
    PlatformResetKeys();
    TempDirTest::TearDown();
  }

  // Runs the command with these arguments (the program name is added), the nth allocation
  // of the run failing if `fail` is given, and checks that it left no memory block behind.
  static RunResult Run(const std::vector<std::string>& args, void (*fail)(int) = nullptr, int nth = 0) {
    std::vector<const char*> argv = {"fxapply"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_TRUE(out && err);
    const size_t blocks = PlatformLiveBlockCount();
    if (fail) fail(nth);
    const int status = RunFxApply(static_cast<int>(argv.size()), argv.data(), out, err);
    if (fail) fail(0);
    EXPECT_EQ(PlatformLiveBlockCount(), blocks) << "the run leaked memory blocks, " << nth;
    return RunResult{status, ReadBack(out), ReadBack(err)};
  }

  // Nothing but the inputs (and the old output, if any, as it was) is in the folder.
  void ExpectNoOutput(const std::string& label, const Bytes& old = {}) const {
    if (old.empty()) {
      EXPECT_FALSE(fs::exists(output_)) << label;
    } else {
      EXPECT_EQ(Read(output_), old) << label << ": the old file is left untouched";
    }
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      const bool keptOld = !old.empty() && entry.path() == fs::path(output_);
      EXPECT_TRUE(keptOld || (name.size() > 3 && name.compare(0, 2, "in") == 0)) << label << ": left " << name;
    }
  }

  std::string input_;
  std::string output_;
};

TEST_F(FxApplyTest, ListShowsEachEffectWithItsFields) {
  const RunResult r = Run({"--list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("  1  Brightness and Contrast"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("channel brightness contrast\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(" 12 "), std::string::npos) << "no line for an identifier without a routine";
  EXPECT_EQ(Run({"--list", "1"}).status, 1) << "--list takes nothing else";
}

TEST_F(FxApplyTest, HardThresholdWritesExactlyThoseLevels) {
  // Fields are decimal or hex; the seed changes nothing for this effect.
  const RunResult r = Run({"--seed", "0x10", "--quiet", "1", input_, output_, "0", "-0", "0x7F"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
  // The input's own header, the thresholded rows, padding zero: 14 + 40 + 24 = 78 bytes.
  const Bytes expected = BmpFile(3, 2, 24, {}, kThresholdRows);
  ASSERT_EQ(expected.size(), 78u);
  EXPECT_EQ(Read(output_), expected);
  EXPECT_FALSE(fs::exists(output_ + ".partial"));
  EXPECT_EQ(Read(input_), BmpFile(3, 2, 24, {}, kLevelRows)) << "the input is left alone";
}

// Every failing run (nothing to do: status 2; a bad effect, field, seed or input: status 1)
// says why, leaves an existing output file untouched and writes nothing else; a run that
// succeeds afterwards replaces the old file entirely.
TEST_F(FxApplyTest, FailedRunsLeaveTheOldOutputAlone) {
  const Bytes old(300, 0x42);
  Write("out.bmp", old);
  Bytes truncated = BmpFile(3, 2, 24, {}, kLevelRows);
  truncated.resize(truncated.size() - 5);

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string mentions;  // what the message must name
  };
  std::vector<Case> cases = {
      {{"1", input_, output_, "0", "0", "0"}, 2, ""},
      {{"1", input_, output_}, 2, ""},  // missing fields are 0
      {{"--seed", "abc", "1", input_, output_}, 1, ""},
      {{"--seed"}, 1, ""},
  };
  // No routine, then numbers the one parser refuses (2^32 + 1 must not wrap to 1).
  for (std::string id : {"12", "abc", "", "1x", "4294967297"}) {
    cases.push_back({{id, input_, output_, "0", "0", "127"}, 1, "'" + id + "'"});
  }
  // Bad fields; effect 1 has three.
  for (std::string field : {"0xZZ", "1.5", "99999999999"}) cases.push_back({{"1", input_, output_, "0", "0", field}, 1, ""});
  cases.push_back({{"1", input_, output_, "0", "0", "127", "0"}, 1, ""});
  // Inputs that cannot be read (the decoders' own refusals are the picture file tests').
  const std::pair<const char*, Bytes> inputs[] = {{"in-missing.bmp", {}}, {"in-truncated.bmp", truncated}};
  for (const auto& [name, bytes] : inputs) {
    const std::string in = bytes.empty() ? PathOf(name) : Write(name, bytes);
    cases.push_back({{"1", in, output_, "0", "0", "127"}, 1, in});
  }

  for (const Case& c : cases) {
    std::string label;
    for (const std::string& a : c.args) label += "[" + a + "]";
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << label;
    EXPECT_FALSE(r.err.empty()) << label;
    EXPECT_NE(r.err.find(c.mentions), std::string::npos) << label << ": " << r.err;
    if (c.status == 2) {
      EXPECT_EQ(LineCount(r.err), 1) << label << ": '" << r.err << "'";
      EXPECT_TRUE(r.err.size() > 10 && r.err.back() == '\n') << label << ": '" << r.err << "'";
      EXPECT_EQ(r.out, "") << label;
    }
    ExpectNoOutput(label, old);
  }

  const RunResult r = Run({"1", input_, output_, "0", "0", "127"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read(output_), BmpFile(3, 2, 24, {}, kThresholdRows)) << "replaced, no tail of the old file";
  EXPECT_FALSE(fs::exists(output_ + ".partial"));
}

// The output's extension picks its format; the input's content picks how it is read. BMP to
// PNG to BMP through invert twice gives the input back exactly.
TEST_F(FxApplyTest, FormatsFollowContentInAndExtensionOut) {
  const std::string png = PathOf("once.png"), disguised = PathOf("once.bmp.data"), back = PathOf("twice.BMP");
  ASSERT_EQ(Run({"6", input_, png}).status, 0);
  fs::rename(png, disguised);  // read by content, not by name
  const RunResult r = Run({"6", disguised, back});
  ASSERT_EQ(r.status, 0) << r.err;
  const Bytes twice = Read(back);
  ASSERT_EQ(twice.size(), 78u);
  for (size_t row : {0, 1}) {  // the 9 pixel bytes of each row (a PNG carries no padding)
    const size_t at = 12 * row;
    EXPECT_EQ(Bytes(twice.begin() + 54 + at, twice.begin() + 63 + at), Bytes(kLevelRows.begin() + at, kLevelRows.begin() + at + 9))
        << "row " << row;
  }

  const RunResult unknown = Run({"6", input_, PathOf("out.gif")});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("out.gif"), std::string::npos) << unknown.err;
  EXPECT_FALSE(fs::exists(PathOf("out.gif")));
}

// Whichever C++ allocation or memory block fails, the run ends with a status and one line,
// never an exception: 1 (out of memory, or the input could not be loaded) or 2 (the effect
// could not get its memory), nothing written, every block freed. Failing later and later,
// the run finally succeeds.
TEST_F(FxApplyTest, EveryAllocationFailureEndsWithAStatus) {
  struct Case {
    const char* what;
    void (*fail)(int nth);
    bool outOfMemorySeen;  // a C++ allocation failing in the command itself ends as "out of memory"
  };
  const Case cases[] = {{"C++ allocation", PlatformFailNew, true}, {"memory block", PlatformFailAllocation, false}};
  for (const Case& c : cases) {
    bool outOfMemory = false;
    int nth = 1;
    for (; nth < 100000; ++nth) {
      const RunResult r = Run({"1", input_, output_, "0", "0", "127"}, c.fail, nth);
      if (r.status == 0) break;
      EXPECT_TRUE(r.status == 1 || r.status == 2) << c.what << " " << nth << ": " << r.err;
      outOfMemory = outOfMemory || r.err == "fxapply: out of memory\n";
      EXPECT_EQ(LineCount(r.err), 1) << c.what << " " << nth << ": " << r.err;
      ExpectNoOutput(std::string(c.what) + " " + std::to_string(nth));
    }
    EXPECT_GT(nth, 1) << c.what << ": the first allocation failing must already tell";
    EXPECT_EQ(outOfMemory, c.outOfMemorySeen) << c.what;
    EXPECT_EQ(Read(output_), BmpFile(3, 2, 24, {}, kThresholdRows)) << c.what;
    fs::remove(output_);
  }
}

}  // namespace
