// The global operator new of the native build, so that tests can make the n-th C++ allocation
// throw std::bad_alloc as a full heap would (PlatformFailNew). Unarmed it is a plain malloc.
#include <atomic>
#include <cstdlib>
#include <new>

#include "platform_control.h"

namespace {

std::atomic<int> newCountdown{0};  // > 0: the allocation that brings it to 0 fails

bool ConsumeNewFailure() {
  int left = newCountdown.load();
  while (left > 0 && !newCountdown.compare_exchange_weak(left, left - 1)) {
  }
  return left == 1;
}

void* Allocate(std::size_t bytes) {
  if (ConsumeNewFailure()) throw std::bad_alloc();
  void* p = std::malloc(bytes ? bytes : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

}  // namespace

void PlatformFailNew(int nth) { newCountdown.store(nth > 0 ? nth : 0); }

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  return ConsumeNewFailure() ? nullptr : std::malloc(bytes ? bytes : 1);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  return ConsumeNewFailure() ? nullptr : std::malloc(bytes ? bytes : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
