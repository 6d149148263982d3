#include "engine/working_tables.h"

void* WorkingTables::AllocateBytes(size_t bytes) {
  if (count_ == kMaxTables) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) return nullptr;
  void* data = GlobalLock(block);
  if (!data) {
    GlobalFree(block);
    return nullptr;
  }
  blocks_[count_++] = block;
  return data;
}

void WorkingTables::ReleaseAll() {
  for (int i = 0; i < count_; ++i) {
    GlobalUnlock(blocks_[i]);
    GlobalFree(blocks_[i]);
  }
  count_ = 0;
}
