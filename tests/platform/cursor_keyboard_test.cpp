// The stock cursors, the current-cursor value and the asynchronous key state of the native
// platform layer.
#include <gtest/gtest.h>

#include <set>

#include <windows.h>

#include "platform_control.h"

namespace {

// ---- Cursors -------------------------------------------------------------------------------

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetCursor(); }
  void TearDown() override { SetCursor(saved_); }

 private:
  HCURSOR saved_ = nullptr;
};

TEST_F(CursorTest, StockCursorsAreDistinctStableHandles) {
  const LPCSTR stock[] = {IDC_ARROW,   IDC_IBEAM,  IDC_WAIT,   IDC_CROSS,   IDC_UPARROW,
                          IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL,
                          IDC_NO,      IDC_HAND,   IDC_APPSTARTING};
  std::set<HCURSOR> seen;
  for (LPCSTR id : stock) {
    const HCURSOR cursor = LoadCursorA(nullptr, id);
    const auto number = reinterpret_cast<UINT_PTR>(id);
    ASSERT_NE(cursor, nullptr) << number;
    EXPECT_EQ(LoadCursorA(nullptr, id), cursor) << "the same cursor on every load, " << number;
    EXPECT_TRUE(seen.insert(cursor).second) << "cursor " << number << " shares a handle";
  }
}

TEST_F(CursorTest, SetCursorReturnsThePreviousOne) {
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(nullptr);
  EXPECT_EQ(GetCursor(), nullptr);
  const struct { HCURSOR set, previous; } steps[] = {{wait, nullptr}, {arrow, wait}, {arrow, arrow}, {nullptr, arrow}};
  for (const auto& s : steps) {
    EXPECT_EQ(SetCursor(s.set), s.previous);
    EXPECT_EQ(GetCursor(), s.set);
  }
}

// ---- Keyboard ------------------------------------------------------------------------------

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { PlatformResetKeys(); }
  void TearDown() override { PlatformResetKeys(); }
};

// The state as the 16 bits the call returns.
unsigned Bits(short state) { return static_cast<unsigned short>(state); }

TEST_F(KeyboardTest, HeldKeyReportsThePressOnceAndDownUntilReleased) {
  PlatformPressKey(VK_ESCAPE);
  EXPECT_EQ(Bits(GetAsyncKeyState(VK_ESCAPE)), 0x8001u) << "down now, pressed since the previous query";
  EXPECT_EQ(Bits(GetAsyncKeyState(VK_ESCAPE)), 0x8000u) << "still down, the press is already reported";
  EXPECT_EQ(Bits(GetAsyncKeyState(VK_ESCAPE)), 0x8000u);

  PlatformReleaseKey(VK_ESCAPE);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

TEST_F(KeyboardTest, PressAndReleaseBetweenQueriesIsReportedOnce) {
  PlatformPressKey(VK_ESCAPE);
  PlatformReleaseKey(VK_ESCAPE);
  EXPECT_EQ(Bits(GetAsyncKeyState(VK_ESCAPE)), 0x0001u);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

}  // namespace
