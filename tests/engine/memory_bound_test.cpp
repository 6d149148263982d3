// Memory follows the picture, never a record field: every catalogue effect, run with extreme
// records, keeps the peak of its live memory blocks (beyond the source image) under a fixed
// budget on tiny pictures, and under a small multiple of the picture plus that budget on a
// larger one. The source is left untouched and every block is freed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/catalogue.h"
#include "fxui.h"
#include "platform_control.h"
#include "test_images.h"

namespace {

constexpr size_t kMiB = size_t{1} << 20;
// What a run may hold beyond its source on any picture: tables indexed by level, by column
// or by a bounded radius, and the result of a tiny picture.
constexpr size_t kFixedBudget = 4 * kMiB;
// The result and one working copy: picture-sized blocks a run may hold beside its source.
constexpr size_t kPictureMultiple = 2;

// Field values that reach the ends of every range a routine might size something by.
const std::vector<int32_t> kExtremes = {INT32_MIN, -4194304, -256, -1, 0, 1, 2, 3, 100, 255,
                                        256, 4194302, 4194304, 0x3FFFFFFF, INT32_MAX};

// Per field in order: whether it is a 256-byte curve rather than a 32-bit word.
std::vector<bool> CurveFields(const EffectRow& row) {
  std::vector<bool> curves;
  std::istringstream names(row.fields);
  for (std::string name; names >> name;) curves.push_back(name == "curve[256]");
  return curves;
}

std::vector<uint8_t> Pack(const std::vector<bool>& curves, const std::vector<int32_t>& values) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < curves.size(); ++i) {
    // A curve spans all levels, so that curve-driven tables are fully used.
    for (int k = 0; curves[i] && k < 256; ++k) bytes.push_back(static_cast<uint8_t>(values[i] & 1 ? 255 - k : k));
    for (int b = 0; !curves[i] && b < 4; ++b) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(values[i]) >> (8 * b)));
  }
  bytes.resize(std::max<size_t>(bytes.size(), 4));  // first-word passing reads a word even with no fields
  return bytes;
}

// Every field at each extreme together, then each field at each of `extremes` with the others
// at each of `bases`.
std::vector<std::vector<int32_t>> ExtremeRecords(size_t fields, const std::vector<int32_t>& extremes,
                                                 const std::vector<int32_t>& bases) {
  std::vector<std::vector<int32_t>> records;
  for (int32_t v : kExtremes) records.push_back(std::vector<int32_t>(fields, v));
  for (size_t field = 0; field < fields; ++field) {
    for (int32_t base : bases) {
      for (int32_t v : extremes) {
        records.push_back(std::vector<int32_t>(fields, base));
        records.back()[field] = v;
      }
    }
  }
  if (records.empty()) records.push_back({});
  return records;
}

HGLOBAL Rgb(int w, int h) {
  return MakeRgbDib(w, h, [](int x, int row) {
    return Bgr{static_cast<uint8_t>(x * 37 + row), static_cast<uint8_t>(x * 11 + row * 5), static_cast<uint8_t>(row * 29)};
  });
}
HGLOBAL Grey(int w, int h) {
  return MakeGreyDib(w, h, [](int x, int row) { return static_cast<uint8_t>(x * 13 + row * 7); });
}

// Abort queries a run may make before it is stopped (0: never stopped), so that a record
// whose work grows with a field ends soon on the larger picture; memory is taken up front.
int abortAfter = 0;
int queriesMade = 0;
int WINAPI StopAfterQueries() { return abortAfter > 0 && ++queriesMade > abortAfter ? 1 : 0; }

class MemoryBoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformFailAllocation(0);
    SetFxAbortHook(1, StopAfterQueries);
    SetFxProgressHook(1, nullptr);
  }
  void TearDown() override {
    SetFxAbortHook(1, nullptr);
    abortAfter = 0;
  }

  // Runs every effect with routine on `source` with its extreme records; none may pass `limit`.
  static void RunAll(HGLOBAL source, const char* picture, const std::vector<int32_t>& extremes,
                     const std::vector<int32_t>& bases, size_t limit) {
    size_t count = 0;
    const EffectRow* rows = CatalogueRows(&count);
    const std::vector<uint8_t> before = BlockBytes(source);
    for (const EffectRow* row = rows; row < rows + count; ++row) {
      if (!row->HasRoutine()) continue;
      const std::vector<bool> curves = CurveFields(*row);
      for (const auto& values : ExtremeRecords(curves.size(), extremes, bases)) {
        const std::vector<uint8_t> record = Pack(curves, values);
        const size_t blocks = PlatformLiveBlockCount();
        PlatformResetPeakLiveBytes();
        queriesMade = 0;
        const size_t live = PlatformPeakLiveBytes();
        HGLOBAL result = ApplyEffect(source, row->id, record.data());
        const size_t peak = PlatformPeakLiveBytes() - live;
        if (result) GlobalFree(result);
        std::string described;
        for (int32_t v : values) described += " " + std::to_string(v);
        EXPECT_EQ(PlatformLiveBlockCount(), blocks) << "effect " << row->id << " record" << described << " leaked";
        // One record over the limit is enough to report; the rest could take long.
        if (peak > limit) {
          ADD_FAILURE() << "effect " << row->id << " (" << row->name << ") on a " << picture << " picture, record"
                        << described << ": peak " << peak << " over " << limit;
          break;
        }
      }
      EXPECT_EQ(BlockBytes(source), before) << "effect " << row->id << " changed its source";
    }
  }
};

TEST_F(MemoryBoundTest, TinyPicturesStayUnderTheFixedBudgetForAnyRecord) {
  const std::pair<const char*, HGLOBAL (*)(int, int)> kinds[] = {{"24-bit", Rgb}, {"grey", Grey}};
  for (const auto& [kind, make] : kinds) {
    for (int side : {1, 16}) {
      ScopedDib source(make(side, side));
      RunAll(source.get(), (std::string(kind) + " " + std::to_string(side) + " x " + std::to_string(side)).c_str(),
             kExtremes, {0, 1, 2, 3}, kFixedBudget);
    }
  }
}

TEST_F(MemoryBoundTest, LargerPictureStaysUnderAMultipleOfThePicture) {
  abortAfter = 16;
  for (HGLOBAL (*make)(int, int) : {Rgb, Grey}) {
    ScopedDib source(make(640, 480));
    RunAll(source.get(), make == Rgb ? "24-bit 640 x 480" : "grey 640 x 480", {-1, 4194304, INT32_MAX}, {3},
           kPictureMultiple * GlobalSize(source.get()) + kFixedBudget);
  }
}

}  // namespace
