// Prints the curves that the dialogs compute in floating point: the nine Magic Mirror curve
// functions over a few starting curves, and the Tone Adjustment panel's display curve over a
// grid of slider values. scripts/compare-fxapply.sh runs it natively and under Wine and
// compares the texts, so that the 32- and 64-bit Windows builds are held to the native values.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "ui/dialogs/curve_editor_logic.h"
#include "ui/dialogs/tone_panel.h"

namespace {

void Print(const char* what, int a, int b, int c, const uint8_t* curve) {
  std::printf("%s %d %d %d:", what, a, b, c);
  for (int i = 0; i < 256; ++i) std::printf(" %d", curve[i]);
  std::printf("\n");
}

// Starting curves: straight, a wave, a reversed ramp with steps.
uint8_t Start(int shape, int i) {
  switch (shape) {
    case 0: return uint8_t(i);
    case 1: return uint8_t(127.5 + 127.5 * std::sin(i / 23.0));
    default: return uint8_t(255 - (i / 16) * 16);
  }
}

}  // namespace

int main() {
  for (int shape = 0; shape < 3; ++shape) {
    for (int function = 0; function < kCurveFunctionCount; ++function) {
      uint8_t curve[256];
      for (int i = 0; i < 256; ++i) curve[i] = Start(shape, i);
      ApplyCurveFunction(curve, function);
      Print("function", shape, function, 1, curve);
      ApplyCurveFunction(curve, function);
      Print("function", shape, function, 2, curve);
    }
  }
  for (int highlight = -100; highlight <= 100; highlight += 25) {
    for (int midtone = -100; midtone <= 100; midtone += 10) {
      for (int shadow = -100; shadow <= 100; shadow += 50) {
        uint8_t curve[kToneLevels];
        DisplayToneCurve(highlight, midtone, shadow, curve);
        Print("tone", highlight, midtone, shadow, curve);
      }
    }
  }
  return 0;
}
