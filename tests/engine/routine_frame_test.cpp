#include "engine/routine_frame.h"

#include <tuple>

#include "engine/engine_fixture.h"
#include "test_images.h"

namespace {

// A filter routine on the frame: header and palette copied in one piece, the first abort
// query discarded, every pixel byte inverted through a working table.
HGLOBAL InvertingFilter(HGLOBAL dib) {
  if (!dib) return nullptr;
  RoutineFrame frame(kFilterKinds);
  uint8_t* table = frame.AllocateTable<uint8_t>(256);
  if (!table) return nullptr;
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(255 - i);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();
  const DibLayout& layout = frame.layout();
  const size_t rowBytes = layout.bitCount == 24 ? 3u * layout.width : layout.width;
  for (int row = 0; row < layout.height; ++row) {
    if (!frame.BeginRow(row)) break;
    const uint8_t* in = frame.sourcePixels() + size_t(row) * layout.stride;
    uint8_t* out = frame.resultPixels() + size_t(row) * layout.stride;
    for (size_t i = 0; i < rowBytes; ++i) out[i] = table[in[i]];
  }
  return frame.Finish();
}

HGLOBAL Grey(int width, int height) {
  return MakeGreyDib(width, height, [](int x, int y) { return uint8_t(x + 10 * y); });
}

unsigned LockCount(HGLOBAL h) { return GlobalFlags(h) & GMEM_LOCKCOUNT; }

using Frame = EngineTest;

TEST_F(Frame, RunsAndReportsEvery16thRowThen100UnderTheWaitCursor) {
  // An escape press before the run is discarded; the wait cursor shows at every report,
  // the final one included, and the arrow is back afterwards.
  PlatformPressKey(VK_ESCAPE);
  PlatformReleaseKey(VK_ESCAPE);
  std::vector<HCURSOR> seen;
  onProgress() = [&seen](int) { seen.push_back(GetCursor()); };
  ScopedDib dib(Grey(3, 40));
  ScopedDib result(InvertingFilter(dib.get()));
  ASSERT_TRUE(result);
  EXPECT_EQ(ByteAt(result.get(), 2, 3), 255 - 32);
  EXPECT_EQ(PaletteAt(result.get(), 77).rgbRed, 77) << "palette copied with the header";
  EXPECT_EQ(progress(), (std::vector<int>{0, 40, 80, 100}));
  EXPECT_EQ(seen, std::vector<HCURSOR>(4, Stock(IDC_WAIT)));
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));
  EXPECT_EQ(LockCount(dib.get()), 0u);
  EXPECT_EQ(LockCount(result.get()), 0u);
}

TEST_F(Frame, AnEscapePressDuringTheRunAbortsIt) {
  onProgress() = [](int percent) {
    if (percent == 0) PlatformPressKey(VK_ESCAPE);
  };
  ScopedDib dib(Grey(2, 20));
  EXPECT_EQ(InvertingFilter(dib.get()), nullptr);
  EXPECT_EQ(progress(), (std::vector<int>{0, 100})) << "100 is reported after an abort too";
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));
  EXPECT_EQ(LockCount(dib.get()), 0u);
}

TEST_F(Frame, RefusalsReportNothingAndLeaveTheSourceUnlocked) {
  // Other kinds and a block shorter than its header says are refused before the cursor
  // changes; a failed result allocation (the table is the first block, the result the
  // second) comes after it and restores the arrow.
  ScopedDib palette(MakePaletteDib(4, 4, 8, std::vector<RGBQUAD>(200), [](int, int) { return uint8_t{1}; }));
  ScopedDib four(MakePaletteDib(4, 4, 4, std::vector<RGBQUAD>(16), [](int, int) { return uint8_t{1}; }));
  ScopedDib shortened(Grey(8, 8)), grey(Grey(4, 4));
  ASSERT_EQ(GlobalReAlloc(shortened.get(), GlobalSize(shortened.get()) - 1, 0), shortened.get());
  const std::tuple<HGLOBAL, int, LPCSTR> cases[] = {
      {palette.get(), 0, IDC_CROSS}, {four.get(), 0, IDC_CROSS}, {shortened.get(), 0, IDC_CROSS}, {grey.get(), 2, IDC_ARROW}};
  for (const auto& [dib, failing, cursor] : cases) {
    SetCursor(Stock(IDC_CROSS));
    PlatformFailAllocation(failing);
    EXPECT_EQ(InvertingFilter(dib), nullptr);
    PlatformFailAllocation(0);
    EXPECT_EQ(LockCount(dib), 0u);
    EXPECT_EQ(GetCursor(), Stock(cursor));
  }
  EXPECT_TRUE(progress().empty());
}

TEST_F(Frame, ARoutineLeavingEarlyIsCleanedUp) {
  ScopedDib dib(Grey(4, 4));
  {
    RoutineFrame frame(kFilterKinds);
    ASSERT_NE(frame.AllocateTable<int>(64), nullptr);
    ASSERT_TRUE(frame.OpenSource(dib.get()));
    ASSERT_TRUE(frame.CreateResult());
    EXPECT_EQ(LockCount(dib.get()), 1u);
  }
  EXPECT_EQ(LockCount(dib.get()), 0u);
  EXPECT_EQ(GetCursor(), Stock(IDC_ARROW));
  EXPECT_TRUE(progress().empty());
}

}  // namespace
