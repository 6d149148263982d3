// Global memory blocks with the Win32 semantics the core relies on: movable blocks are
// reached through a handle that stays valid until GlobalFree, locking counts, GlobalSize
// reports the size asked for, GMEM_ZEROINIT zero-fills (also the growth of GlobalReAlloc),
// and a freed or unknown handle locks to null. Fixed blocks use the data pointer as handle.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

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
  heap.blocks[handle] = Block{data, bytes, 0, movable};
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
      block.movable = true;
      heap.blocks.erase(it);
      heap.blocks[handle] = block;
      return reinterpret_cast<HGLOBAL>(handle);
    }
    return mem;
  }
  const bool mayMove = (flags & GMEM_MOVEABLE) || (block.movable && block.lockCount == 0);
  if (bytes > block.size && !mayMove) return nullptr;
  if (bytes == 0 && block.movable) {
    if (block.lockCount != 0) return nullptr;
    std::free(block.data);
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
  block.data = data;
  block.size = bytes;
  if (block.movable) {
    it->second = block;
    return mem;
  }
  heap.blocks.erase(it);
  heap.blocks[reinterpret_cast<uintptr_t>(data)] = block;
  return reinterpret_cast<HGLOBAL>(data);
}

size_t PlatformLiveBlockCount(void) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  return heap.blocks.size();
}

void PlatformFailAllocation(int nth) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> guard(heap.lock);
  heap.failCountdown = nth > 0 ? nth : 0;
}
