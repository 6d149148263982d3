#include "bench_util.h"

#include <cstdio>
#include <string>

#include "image/dib.h"
#include "tools/bmp/bmp_file.h"

namespace {
const char* const kPhotos[kPhotoCount] = {"astronaut.bmp", "coffee.bmp", "camera-grey.bmp"};
}

HGLOBAL LoadPhoto(int index) {
  std::string error;
  HGLOBAL dib = LoadBmpFile(std::string(FXUI_SAMPLES_DIR) + "/" + kPhotos[index], &error);
  if (!dib) std::fprintf(stderr, "%s\n", error.c_str());
  return dib;
}

void SetPixelCounters(benchmark::State& state, HGLOBAL dib) {
  int width = 0, height = 0;
  GetDibSize(dib, &width, &height);
  state.counters["px/s"] = benchmark::Counter(static_cast<double>(width) * height * state.iterations(),
                                              benchmark::Counter::kIsRate);
  state.SetLabel(kPhotos[state.range(0)]);
}

void RunEffect(benchmark::State& state, int effect, const void* record) {
  HGLOBAL dib = LoadPhoto(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    HGLOBAL result = ApplyEffect(dib, effect, record);
    if (!result) {
      state.SkipWithError("the effect gave no image");
      break;
    }
    GlobalFree(result);
  }
  SetPixelCounters(state, dib);
  GlobalFree(dib);
}
