// The memory-bound limit every effect is measured against: a new block with the bytes copied.
#include <cstring>

#include "bench_util.h"

namespace {

void BM_PlainCopy(benchmark::State& state) {
  HGLOBAL dib = LoadPhoto(static_cast<int>(state.range(0)));
  const size_t size = GlobalSize(dib);
  for (auto _ : state) {
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    void* to = GlobalLock(copy);
    const void* from = GlobalLock(dib);
    std::memcpy(to, from, size);
    GlobalUnlock(dib);
    GlobalUnlock(copy);
    benchmark::DoNotOptimize(copy);
    GlobalFree(copy);
  }
  SetPixelCounters(state, dib);
  GlobalFree(dib);
}

}  // namespace

BENCHMARK(BM_PlainCopy)->DenseRange(0, kPhotoCount - 1);
