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
  RoundedMean mean;
  const bool made = mean.Make(frame, n);
  uint8_t* strip = AllocateStrip(frame, 0);
  uint8_t* padded = AllocateBoxRow(frame, n);
  if (!made || !strip || !padded) return nullptr;
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

  // Output s + correction[s - b], with b the blurred value and s the source's own sample
  // (sides up to 32 always have a division table).
  const uint8_t* divide = mean.table();
  RunBoxPassesFinishingOnSource(frame, n, strip, padded, mean, [&](int sum, int s) {
    return static_cast<uint8_t>(std::clamp(s + correction[s - divide[sum]], 0, 255));
  });
  return frame.Finish();
}
