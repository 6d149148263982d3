// Working tables of a run: zero-filled movable global blocks, locked while the run lasts and
// all freed together when it ends (or when the owner goes out of scope on an early return).
#ifndef FXUI_ENGINE_WORKING_TABLES_H
#define FXUI_ENGINE_WORKING_TABLES_H

#include <cstddef>

#include <windows.h>

class WorkingTables {
 public:
  WorkingTables() = default;
  ~WorkingTables() { ReleaseAll(); }
  WorkingTables(const WorkingTables&) = delete;
  WorkingTables& operator=(const WorkingTables&) = delete;

  // A table of `count` zero-filled elements, or null when it cannot be made.
  template <typename T>
  T* Allocate(size_t count) {
    return static_cast<T*>(AllocateBytes(count * sizeof(T)));
  }
  // Unlocks and frees every table made so far.
  void ReleaseAll();

 private:
  static constexpr int kMaxTables = 16;
  void* AllocateBytes(size_t bytes);

  HGLOBAL blocks_[kMaxTables] = {};
  int count_ = 0;
};

#endif
