// Effect 18, unsharp mask: the average blur's two passes, with each sample of the vertical
// pass corrected by a percentage of its difference from the blurred value.
#include "engine/filters/filter_lines.h"
#include "engine/filters/filters.h"

HGLOBAL UnsharpMask(HGLOBAL dib, const void* record) {
  if (!dib || !record) return nullptr;
  const auto& params = *static_cast<const UnsharpMaskParams*>(record);
  const int n = params.squareSize;
  if (!IsSquareSize(n) || params.effect < 1 || params.effect > 500 || params.threshold < 0 ||
      params.threshold > 255) {
    return nullptr;
  }

  RoutineFrame frame(kFilterKinds);
  if (!frame.OpenSource(dib) || !frame.CreateResult()) return nullptr;
  uint8_t* divide = frame.AllocateTable<uint8_t>(size_t(n) * 256);
  uint8_t* line = AllocatePaddedLine(frame, n);
  if (!divide || !line) return nullptr;
  FillDivisionTable(divide, n);
  // Correction by difference d = -255 ... 255 (index d + 255): 0 below the threshold, else
  // the rounded percentage, odd in d.
  int correctionTable[511];
  int* correction = correctionTable + 255;
  for (int d = 0; d <= 255; ++d) {
    correction[d] = d < params.threshold ? 0 : (50 + d * params.effect) / 100;
    correction[-d] = -correction[d];
  }
  frame.CopyHeaderAndPalette();
  frame.DiscardAbortQuery();

  const auto horizontal = [&](const LineArgs& a) { BoxMeanLine(a, n, divide); };
  // Output s + correction[s - b], with b the blurred value and s the source's own sample.
  const auto vertical = [&](const LineArgs& a) {
    uint8_t* out = a.out;
    const uint8_t* source = a.source;
    ForEachBoxSum(a.line, a.length, n, [&](int p, int sum) {
      const int s = source[p * a.sourceStep];
      out[p * a.outStep] = static_cast<uint8_t>(std::clamp(s + correction[s - divide[sum]], 0, 255));
    });
  };
  RunSeparablePasses(frame, n, line, horizontal, vertical);
  return frame.Finish();
}
