// Global memory blocks of the native platform layer: sizes, zero-filling, lock counts,
// stale handles, resizing, discarded and fixed blocks, and the test controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <windows.h>

#include "platform_control.h"

namespace {

// Leaves freed heap memory of about `bytes` full of 0xEE, so that memory handed out next
// is unlikely to be zero by chance.
void DirtyHeap(size_t bytes) {
  std::vector<void*> blocks;
  for (int i = 0; i < 8; ++i) {
    void* p = std::malloc(bytes);
    if (p) std::memset(p, 0xEE, bytes);
    blocks.push_back(p);
  }
  for (void* p : blocks) std::free(p);
}

bool AllZero(const void* data, size_t bytes) {
  const auto* p = static_cast<const unsigned char*>(data);
  return std::all_of(p, p + bytes, [](unsigned char c) { return c == 0; });
}

unsigned LockCount(HGLOBAL mem) { return GlobalFlags(mem) & GMEM_LOCKCOUNT; }

class GlobalMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformFailAllocation(0);
    blocksBefore_ = PlatformLiveBlockCount();
  }
  void TearDown() override {
    PlatformFailAllocation(0);
    EXPECT_EQ(PlatformLiveBlockCount(), blocksBefore_) << "memory blocks leaked";
  }

 private:
  size_t blocksBefore_ = 0;
};

TEST_F(GlobalMemoryTest, MovableZeroInitBlockIsZeroedAndSizedAsAsked) {
  for (SIZE_T bytes : {SIZE_T{3}, SIZE_T{300001}}) {
    DirtyHeap(bytes);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    ASSERT_NE(mem, nullptr) << bytes;
    EXPECT_EQ(GlobalSize(mem), bytes);
    EXPECT_EQ(GlobalFlags(mem), 0u) << "a new block is neither locked nor discarded";
    void* data = GlobalLock(mem);
    ASSERT_NE(data, nullptr);
    EXPECT_NE(data, static_cast<void*>(mem)) << "a movable block is reached through a handle";
    EXPECT_TRUE(AllZero(data, bytes)) << bytes;
    EXPECT_EQ(GlobalUnlock(mem), FALSE);
    EXPECT_EQ(GlobalFree(mem), nullptr);
  }
}

TEST_F(GlobalMemoryTest, LockCountRisesAndFallsWithEachCall) {
  HGLOBAL mem = GlobalAlloc(GHND, 8);
  ASSERT_NE(mem, nullptr);
  void* first = GlobalLock(mem);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(GlobalLock(mem), first);
  EXPECT_EQ(LockCount(mem), 3u);

  // Unlock answers "still locked" until the count reaches 0, and 0 when it was 0 already;
  // an extra unlock must not wrap the count.
  const struct { BOOL stillLocked; unsigned count; } unlocks[] = {{TRUE, 2}, {TRUE, 1}, {FALSE, 0}, {FALSE, 0}};
  for (const auto& u : unlocks) {
    EXPECT_EQ(GlobalUnlock(mem) != FALSE, u.stillLocked != FALSE) << u.count;
    EXPECT_EQ(LockCount(mem), u.count);
  }

  EXPECT_EQ(GlobalLock(mem), first) << "the block is still usable";
  EXPECT_EQ(LockCount(mem), 1u);
  GlobalUnlock(mem);
  GlobalFree(mem);
}

TEST_F(GlobalMemoryTest, FreedAndUnknownHandlesAreDead) {
  HGLOBAL freed = GlobalAlloc(GHND, 32);
  ASSERT_NE(freed, nullptr);
  ASSERT_EQ(GlobalFree(freed), nullptr);
  // A handle that was never handed out, and one pointing into the middle of the handle range.
  HGLOBAL live = GlobalAlloc(GHND, 32);
  const HGLOBAL dead[] = {
      freed,
      reinterpret_cast<HGLOBAL>(uintptr_t{0x12345670}),
      reinterpret_cast<HGLOBAL>(reinterpret_cast<uintptr_t>(live) + 4),
  };
  for (HGLOBAL mem : dead) {
    EXPECT_EQ(GlobalLock(mem), nullptr) << mem;
    EXPECT_EQ(GlobalSize(mem), 0u) << mem;
    EXPECT_EQ(GlobalUnlock(mem), FALSE) << mem;
    EXPECT_EQ(GlobalFlags(mem), static_cast<UINT>(GMEM_INVALID_HANDLE)) << mem;
    EXPECT_EQ(GlobalReAlloc(mem, 64, GMEM_MOVEABLE), nullptr) << mem;
    EXPECT_EQ(GlobalFree(mem), mem) << "freeing a dead handle fails and gives it back";
  }
  EXPECT_NE(live, freed) << "a later allocation never brings the freed handle back to life";
  EXPECT_EQ(GlobalSize(live), 32u);
  GlobalFree(live);
}

// A locked block may neither grow in place nor be discarded (a failed resize leaves it alone);
// it shrinks in place, and with GMEM_MOVEABLE it moves, keeping handle, contents and lock count.
TEST_F(GlobalMemoryTest, LockedBlockShrinksInPlaceButGrowsOnlyWhenAllowedToMove) {
  HGLOBAL mem = GlobalAlloc(GHND, 64);
  auto* p = static_cast<unsigned char*>(GlobalLock(mem));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i) p[i] = static_cast<unsigned char>(i);
  EXPECT_EQ(GlobalReAlloc(mem, 128, GMEM_ZEROINIT), nullptr);
  EXPECT_EQ(GlobalReAlloc(mem, 0, GMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GlobalSize(mem), 64u);
  EXPECT_EQ(GlobalReAlloc(mem, 10, 0), mem);
  EXPECT_EQ(GlobalLock(mem), static_cast<void*>(p));
  EXPECT_EQ(GlobalReAlloc(mem, 4000, GMEM_MOVEABLE | GMEM_ZEROINIT), mem);
  EXPECT_EQ(GlobalSize(mem), 4000u);
  EXPECT_EQ(LockCount(mem), 2u);
  const auto* q = static_cast<const unsigned char*>(GlobalLock(mem));
  for (int i = 0; i < 4000; ++i) ASSERT_EQ(q[i], i < 10 ? i : 0) << i;
  for (int i = 0; i < 3; ++i) GlobalUnlock(mem);
  GlobalFree(mem);
}

TEST_F(GlobalMemoryTest, FailAllocationFailsOnlyTheNthAllocation) {
  for (int nth : {1, 5}) {
    const size_t before = PlatformLiveBlockCount();
    PlatformFailAllocation(nth);
    std::vector<HGLOBAL> made;
    for (int k = 1; k <= 8; ++k) {
      HGLOBAL mem = GlobalAlloc(k % 2 ? GHND : GPTR, 16);
      EXPECT_EQ(mem == nullptr, k == nth) << "allocation " << k << " of " << nth;
      if (mem) made.push_back(mem);
    }
    EXPECT_EQ(PlatformLiveBlockCount(), before + 7) << "the failed allocation left no block";
    for (HGLOBAL mem : made) GlobalFree(mem);
  }
}

}  // namespace

// The peak follows the sum of live block sizes through allocations, resizes, discards and
// frees, and a reset starts it again from what is live.
TEST_F(GlobalMemoryTest, PeakLiveBytesFollowsEveryChangeOfSize) {
  PlatformResetPeakLiveBytes();
  const size_t base = PlatformPeakLiveBytes();
  HGLOBAL a = GlobalAlloc(GHND, 100);
  HGLOBAL b = GlobalAlloc(GPTR, 50);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(PlatformPeakLiveBytes() - base, 150u);
  GlobalFree(a);
  EXPECT_EQ(PlatformPeakLiveBytes() - base, 150u) << "a free leaves the peak";
  b = GlobalReAlloc(b, 300, GMEM_MOVEABLE);  // live 300
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(PlatformPeakLiveBytes() - base, 300u);
  HGLOBAL c = GlobalAlloc(GHND, 40);  // live 340
  ASSERT_EQ(GlobalReAlloc(c, 0, GMEM_MOVEABLE), c);  // discarded: live 300
  b = GlobalReAlloc(b, 20, 0);  // live 20
  PlatformResetPeakLiveBytes();
  EXPECT_EQ(PlatformPeakLiveBytes() - base, 20u) << "a reset starts from the live bytes";
  PlatformFailAllocation(1);
  EXPECT_EQ(GlobalAlloc(GHND, 1000), nullptr);
  EXPECT_EQ(PlatformPeakLiveBytes() - base, 20u) << "a failed allocation counts nothing";
  ASSERT_EQ(GlobalReAlloc(c, 60, GMEM_MOVEABLE), c);  // live 80
  EXPECT_EQ(PlatformPeakLiveBytes() - base, 80u);
  GlobalFree(b);
  GlobalFree(c);
}
