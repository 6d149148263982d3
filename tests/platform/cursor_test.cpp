// The stock cursors of the native platform layer. The engine tests tell the wait, arrow and
// cross cursors apart by handle, so those must be distinct and the same on every load. The
// key state is read through the engine's abort test (engine_test.cpp).
#include <gtest/gtest.h>

#include <iterator>

#include <windows.h>

namespace {

TEST(StockCursors, AreDistinctStableHandles) {
  const LPCSTR ids[] = {IDC_ARROW, IDC_WAIT, IDC_CROSS};
  for (size_t i = 0; i < std::size(ids); ++i) {
    const HCURSOR cursor = LoadCursorA(nullptr, ids[i]);
    ASSERT_NE(cursor, nullptr) << i;
    EXPECT_EQ(LoadCursorA(nullptr, ids[i]), cursor) << i;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(LoadCursorA(nullptr, ids[j]), cursor) << i << " and " << j;
  }
}

}  // namespace
