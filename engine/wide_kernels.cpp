#include "engine/wide_kernels.h"

#include <atomic>

namespace {

std::atomic<bool> forcedBaseline{false};

bool ProcessorHasAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

}  // namespace

bool WideKernels() {
  static const bool avx2 = ProcessorHasAvx2();
  return avx2 && !forcedBaseline.load(std::memory_order_relaxed);
}

void ForceBaselineKernels(bool force) { forcedBaseline.store(force, std::memory_order_relaxed); }
