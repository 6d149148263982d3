// Tone and colour routines: per-level mappings of all channels or of one.
#ifndef FXUI_ENGINE_TONE_TONE_H
#define FXUI_ENGINE_TONE_TONE_H

#include "fxui.h"

// Effect 1: BrightnessContrastParams. Null when brightness and contrast are both 0.
HGLOBAL BrightnessContrast(HGLOBAL dib, const void* record);
// Effect 2: HueSaturationParams. Null when hue and saturation are both 0.
HGLOBAL HueSaturation(HGLOBAL dib, const void* record);
// Effect 3: CurveParams, a 256-entry curve for all channels or one.
HGLOBAL ApplyCurve(HGLOBAL dib, const void* record);
// Effect 4: ColorReductionParams.
HGLOBAL ColorReduction(HGLOBAL dib, const void* record);
// Effect 5: spreads the levels evenly from one histogram of all channels.
HGLOBAL Equalize(HGLOBAL dib);
// Effect 6: the negative; also takes 1-bit images.
HGLOBAL Invert(HGLOBAL dib);
// Effect 7: ThresholdParams; black and white by luminance.
HGLOBAL Threshold(HGLOBAL dib, const void* record);
// Effect 23: levels of 128 and above mirrored to 255 - level.
HGLOBAL Solarize(HGLOBAL dib);
// Effect 24: shadows lifted by a logarithmic curve.
HGLOBAL LogCurve(HGLOBAL dib);

#endif
