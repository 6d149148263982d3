// Memory follows the picture, never a record field: every catalogue effect, run with extreme
// records, keeps the peak of its live memory blocks (beyond the source image) under a fixed
// budget on tiny pictures, and under a small multiple of the picture plus that budget on a
// larger one. The source is left untouched and every block is freed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
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
constexpr int32_t kExtremes[] = {INT32_MIN, -4194304, -256, -1, 0, 1, 2, 3, 100, 255,
                                 256, 4194302, 4194304, 0x3FFFFFFF, INT32_MAX};
// Values the other fields take while one field is extreme.
constexpr int32_t kBases[] = {0, 1, 2, 3};
// The extremes tried one field at a time on the larger picture.
constexpr int32_t kFewExtremes[] = {-1, 4194304, INT32_MAX};

constexpr int kCurveBytes = 256;

// A record as the routine reads it: 32-bit fields, and 256 bytes for a curve field.
struct RecordLayout {
  std::vector<bool> isCurve;  // per field in order
  size_t Fields() const { return isCurve.size(); }
};

RecordLayout LayoutOf(const EffectRow& row) {
  RecordLayout layout;
  std::istringstream names(row.fields);
  for (std::string name; names >> name;) layout.isCurve.push_back(name == "curve[256]");
  return layout;
}

std::vector<uint8_t> Pack(const RecordLayout& layout, const std::vector<int32_t>& values) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < layout.Fields(); ++i) {
    if (layout.isCurve[i]) {
      // A curve that spans all levels, so that curve-driven tables are fully used.
      for (int level = 0; level < kCurveBytes; ++level) {
        bytes.push_back(static_cast<uint8_t>(values[i] & 1 ? 255 - level : level));
      }
      continue;
    }
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(values[i]) >> (8 * b)));
  }
  // Effects without fields still get a readable word (first-word passing reads one).
  while (bytes.size() < 4) bytes.push_back(0);
  return bytes;
}

// Every field at each extreme together, then each field at each of `extremes` with the others
// at each of `bases`.
template <size_t E, size_t B>
std::vector<std::vector<int32_t>> ExtremeRecords(const RecordLayout& layout, const int32_t (&extremes)[E],
                                                 const int32_t (&bases)[B]) {
  const size_t n = layout.Fields();
  std::vector<std::vector<int32_t>> records;
  for (int32_t v : kExtremes) records.push_back(std::vector<int32_t>(n, v));
  for (size_t field = 0; field < n; ++field) {
    for (int32_t base : bases) {
      for (int32_t v : extremes) {
        std::vector<int32_t> values(n, base);
        values[field] = v;
        records.push_back(values);
      }
    }
  }
  if (records.empty()) records.push_back({});
  return records;
}

std::string Describe(const std::vector<int32_t>& values) {
  std::string text;
  for (int32_t v : values) text += (text.empty() ? "" : " ") + std::to_string(v);
  return text.empty() ? "(no fields)" : text;
}

struct Picture {
  const char* kind;
  int width;
  int height;
  HGLOBAL (*make)(int width, int height);
};

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
};

// One effect, one picture, a list of records: the worst peak seen and the record that made it.
struct Worst {
  size_t peak = 0;
  std::string record;
};

Worst RunAll(const EffectRow& row, HGLOBAL source, const std::vector<std::vector<int32_t>>& records, size_t limit) {
  const RecordLayout layout = LayoutOf(row);
  const std::vector<uint8_t> before = BlockBytes(source);
  Worst worst;
  for (const auto& values : records) {
    const std::vector<uint8_t> record = Pack(layout, values);
    const size_t blocks = PlatformLiveBlockCount();
    PlatformResetPeakLiveBytes();
    queriesMade = 0;
    const size_t live = PlatformPeakLiveBytes();
    HGLOBAL result = ApplyEffect(source, row.id, record.data());
    const size_t peak = PlatformPeakLiveBytes() - live;
    if (result) GlobalFree(result);
    EXPECT_EQ(PlatformLiveBlockCount(), blocks) << "effect " << row.id << " record " << Describe(values) << " leaked";
    if (peak > worst.peak) worst = Worst{peak, Describe(values)};
    // One record over the limit is enough to report; the rest could take long.
    if (peak > limit) break;
  }
  EXPECT_EQ(BlockBytes(source), before) << "effect " << row.id << " changed its source";
  return worst;
}

TEST_F(MemoryBoundTest, TinyPicturesStayUnderTheFixedBudgetForAnyRecord) {
  const Picture pictures[] = {
      {"24-bit", 1, 1, Rgb}, {"grey", 1, 1, Grey}, {"24-bit", 16, 16, Rgb}, {"grey", 16, 16, Grey}};
  size_t count = 0;
  const EffectRow* rows = CatalogueRows(&count);
  for (size_t i = 0; i < count; ++i) {
    if (!rows[i].HasRoutine()) continue;
    const auto records = ExtremeRecords(LayoutOf(rows[i]), kExtremes, kBases);
    for (const Picture& picture : pictures) {
      ScopedDib source(picture.make(picture.width, picture.height));
      const Worst worst = RunAll(rows[i], source.get(), records, kFixedBudget);
      EXPECT_LE(worst.peak, kFixedBudget) << "effect " << rows[i].id << " (" << rows[i].name << ") on a "
                                          << picture.kind << " " << picture.width << " x " << picture.height
                                          << " picture, record " << worst.record;
    }
  }
}


TEST_F(MemoryBoundTest, LargerPictureStaysUnderAMultipleOfThePicture) {
  size_t count = 0;
  const EffectRow* rows = CatalogueRows(&count);
  for (const Picture& picture : {Picture{"24-bit", 640, 480, Rgb}, Picture{"grey", 640, 480, Grey}}) {
    ScopedDib source(picture.make(picture.width, picture.height));
    const size_t limit = kPictureMultiple * GlobalSize(source.get()) + kFixedBudget;
    for (size_t i = 0; i < count; ++i) {
      if (!rows[i].HasRoutine()) continue;
      const auto records = ExtremeRecords(LayoutOf(rows[i]), kFewExtremes, {3});
      abortAfter = 16;
      const Worst worst = RunAll(rows[i], source.get(), records, limit);
      EXPECT_LE(worst.peak, limit) << "effect " << rows[i].id << " (" << rows[i].name << ") on a " << picture.kind
                                   << " " << picture.width << " x " << picture.height << " picture, record "
                                   << worst.record;
    }
  }
}

}  // namespace
