// Global memory blocks with the Win32 semantics the core relies on: movable blocks are
// reached through a handle that stays valid until GlobalFree, locking counts, GlobalSize
// reports the size asked for, GMEM_ZEROINIT zero-fills (also the growth of GlobalReAlloc),
// and a freed or unknown handle locks to null. Fixed blocks use the data pointer as handle.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "boundary.h"
#include "platform_control.h"

namespace {

struct Block {
  unsigned char* data;  // null for a discarded (zero-sized) movable block
  SIZE_T size;          // bytes asked for
  unsigned lockCount;   // GlobalLock minus GlobalUnlock calls
  bool movable;         // false: the handle is the data pointer itself
};

// Movable handles are numbers from a range that no user-space pointer occupies, never reused,
// so a stale handle can never reach a newer block.
constexpr uintptr_t kFirstMovableHandle = uintptr_t{1} << 60;
constexpr uintptr_t kHandleStep = 16;

struct Heap {
  std::mutex lock;
  std::unordered_map<uintptr_t, Block> blocks;
  uintptr_t nextHandle = kFirstMovableHandle;
  int failCountdown = 0;  // > 0: the allocation that brings it to 0 fails
  size_t liveBytes = 0;   // sum of the sizes of the live blocks
  size_t peakBytes = 0;   // highest liveBytes since the last reset
};

Heap& TheHeap() {
  static Heap heap;
  return heap;
}

Block* Find(Heap& heap, HGLOBAL mem) {
  auto it = heap.blocks.find(reinterpret_cast<uintptr_t>(mem));
  return it == heap.blocks.end() ? nullptr : &it->second;
}

unsigned char* AllocateBytes(SIZE_T bytes, bool zero) {
  // malloc(0) may give null; keep one byte so that a zero-sized fixed block has an address.
  const SIZE_T n = bytes ? bytes : 1;
  return static_cast<unsigned char*>(zero ? std::calloc(n, 1) : std::malloc(n));
}

// Books a change of the live bytes (`grown` added, `shrunk` taken away) and keeps the peak.
void Account(Heap& heap, size_t grown, size_t shrunk) {
  heap.liveBytes = heap.liveBytes + grown - shrunk;
  if (heap.liveBytes > heap.peakBytes) heap.peakBytes = heap.liveBytes;
}

// Moves a block to a new handle. The table's node moves with it, so nothing is allocated
// and nothing can fail half-way.
Block& Rekey(Heap& heap, std::unordered_map<uintptr_t, Block>::iterator it, uintptr_t handle) {
  auto node = heap.blocks.extract(it);
  node.key() = handle;
  return heap.blocks.insert(std::move(node)).position->second;
}

bool ConsumeFailure(Heap& heap) {
  if (heap.failCountdown <= 0) return false;
  return --heap.failCountdown == 0;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  if (ConsumeFailure(heap)) return nullptr;
  const bool movable = (flags & GMEM_MOVEABLE) != 0;
  unsigned char* data = nullptr;
  if (bytes != 0 || !movable) {
    data = AllocateBytes(bytes, (flags & GMEM_ZEROINIT) != 0);
    if (!data) return nullptr;
  }
  uintptr_t handle;
  if (movable) {
    handle = heap.nextHandle;
    heap.nextHandle += kHandleStep;
  } else {
    handle = reinterpret_cast<uintptr_t>(data);
  }
  // Like the system's, a failed allocation answers null: the table's own growth may not throw.
  if (!AtBoundary(false, [&] { return heap.blocks.emplace(handle, Block{data, bytes, 0, movable}).second; })) {
    std::free(data);
    return nullptr;
  }
  Account(heap, bytes, 0);
  return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID GlobalLock(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  Block* block = Find(heap, mem);
  if (!block || !block->data) return nullptr;
  if (block->movable) ++block->lockCount;
  return block->data;
}

BOOL GlobalUnlock(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  Block* block = Find(heap, mem);
  if (!block || block->lockCount == 0) return FALSE;
  return --block->lockCount != 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  auto it = heap.blocks.find(reinterpret_cast<uintptr_t>(mem));
  if (it == heap.blocks.end()) return mem;
  Account(heap, 0, it->second.size);
  std::free(it->second.data);
  heap.blocks.erase(it);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  Block* block = Find(heap, mem);
  return block && block->data ? block->size : 0;
}

UINT GlobalFlags(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  Block* block = Find(heap, mem);
  if (!block) return GMEM_INVALID_HANDLE;
  UINT flags = block->lockCount > GMEM_LOCKCOUNT ? GMEM_LOCKCOUNT : block->lockCount;
  if (block->movable && !block->data) flags |= GMEM_DISCARDED;
  return flags;
}

// Resizes a block. A movable block keeps its handle; while it is locked it may only change in
// place (shrink) unless GMEM_MOVEABLE is given. A fixed block grows only with GMEM_MOVEABLE,
// and then its handle (its address) may change. GMEM_MODIFY changes attributes only.
HGLOBAL GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  auto it = heap.blocks.find(reinterpret_cast<uintptr_t>(mem));
  if (it == heap.blocks.end()) return nullptr;
  Block block = it->second;
  if (flags & GMEM_MODIFY) {
    if ((flags & GMEM_MOVEABLE) && !block.movable) {
      // A fixed block becomes movable: it gets a handle of its own.
      const uintptr_t handle = heap.nextHandle;
      heap.nextHandle += kHandleStep;
      Rekey(heap, it, handle).movable = true;
      return reinterpret_cast<HGLOBAL>(handle);
    }
    return mem;
  }
  const bool mayMove = (flags & GMEM_MOVEABLE) || (block.movable && block.lockCount == 0);
  if (bytes > block.size && !mayMove) return nullptr;
  if (bytes == 0 && block.movable) {
    if (block.lockCount != 0) return nullptr;
    std::free(block.data);
    Account(heap, 0, block.size);
    it->second.data = nullptr;
    it->second.size = 0;
    return mem;
  }
  unsigned char* data = block.data;
  if (bytes > block.size || !data) {
    data = static_cast<unsigned char*>(std::realloc(block.data, bytes ? bytes : 1));
    if (!data) return nullptr;
    if (flags & GMEM_ZEROINIT) std::memset(data + block.size, 0, bytes - block.size);
  }
  Account(heap, bytes, block.size);
  block.data = data;
  block.size = bytes;
  if (block.movable) {
    it->second = block;
    return mem;
  }
  Rekey(heap, it, reinterpret_cast<uintptr_t>(data)) = block;
  return reinterpret_cast<HGLOBAL>(data);
}

size_t PlatformLiveBlockCount(void) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  return heap.blocks.size();
}

size_t PlatformPeakLiveBytes(void) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  return heap.peakBytes;
}

void PlatformResetPeakLiveBytes(void) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  heap.peakBytes = heap.liveBytes;
}

void PlatformFailAllocation(int nth) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  heap.failCountdown = nth > 0 ? nth : 0;
}
