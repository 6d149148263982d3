#include <gtest/gtest.h>

#include <utility>

#include "image/host_image.h"

namespace {

// A host image record in its own movable block, as a host makes it.
class HostImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(HostImage));
    auto* record = static_cast<HostImage*>(GlobalLock(handle_));
    record->imageType = 24;
    record->entryCount = 3;
    record->currentEntry = 2;
    record->entries[2].x = 17;
    GlobalUnlock(handle_);
  }
  void TearDown() override { GlobalFree(handle_); }
  unsigned LockCount() const { return GlobalFlags(handle_) & GMEM_LOCKCOUNT; }
  void SetType(int type) {
    static_cast<HostImage*>(GlobalLock(handle_))->imageType = type;
    GlobalUnlock(handle_);
  }
  HGLOBAL handle_ = nullptr;
};

TEST_F(HostImageTest, GreyOnlyForImageType8AndTheCurrentEntry) {
  for (const auto& [type, grey] : {std::pair{24, 0}, {8, 1}, {9, 0}}) {
    SetType(type);
    EXPECT_EQ(IsGreyHostImage(handle_), grey) << type;
  }
  EXPECT_EQ(IsGreyHostImage(nullptr), 0);
  EXPECT_EQ(GetCurrentEntryIndex(handle_), 2);
  EXPECT_EQ(GetCurrentEntryIndex(nullptr), -1);
  EXPECT_EQ(LockCount(), 0u);
}

TEST_F(HostImageTest, LockImageEntryKeepsTheRecordLockedOnlyOnSuccess) {
  ImageEntry* entry = LockImageEntry(handle_, 2);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->x, 17);
  EXPECT_EQ(LockCount(), 1u);
  UnlockHostImage(handle_);
  EXPECT_EQ(LockCount(), 0u);

  for (int index : {3, -1}) {  // 3 equals entryCount
    EXPECT_EQ(LockImageEntry(handle_, index), nullptr) << index;
    EXPECT_EQ(LockCount(), 0u) << index;
  }
  EXPECT_EQ(LockImageEntry(nullptr, 0), nullptr);
  UnlockHostImage(nullptr);
}

TEST_F(HostImageTest, ABlockSmallerThanTheRecordCountsAsUnlockable) {
  HGLOBAL small = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 100);
  static_cast<HostImage*>(GlobalLock(small))->imageType = 8;
  GlobalUnlock(small);
  EXPECT_EQ(IsGreyHostImage(small), 0);
  EXPECT_EQ(LockImageEntry(small, 0), nullptr);
  EXPECT_EQ(GlobalFlags(small) & GMEM_LOCKCOUNT, 0u);
  GlobalFree(small);
}

}  // namespace
