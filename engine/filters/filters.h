// Neighbourhood filters: blurs, order-statistic filters, sharpening, contours, sketch, the
// user-defined kernel and edge-preserving smoothing. All take 24-bit and 8-bit grey-ramp
// images only; channels of 24-bit images are filtered separately.
#ifndef FXUI_ENGINE_FILTERS_FILTERS_H
#define FXUI_ENGINE_FILTERS_FILTERS_H

#include <cstdint>

#include "fxui.h"

// Effect 8, average (box blur): FilterSizeParams, squareSize 2..32.
HGLOBAL AverageBlur(HGLOBAL dib, const void* record);
// Effect 9, softened box blur: SoftenParams.
HGLOBAL SoftenedBlur(HGLOBAL dib, const void* record);
// Effect 17, Gaussian blur: FilterSizeParams, squareSize 2..32.
HGLOBAL GaussianBlur(HGLOBAL dib, const void* record);
// The Gaussian blur's integer weights for side n (2..32), which sum to exactly 2^20.
void GaussianWeights(int n, int32_t* weights);

// Effect 20, maximum (maximum nonzero) or minimum: FilterSizeParams, squareSize 2..32.
HGLOBAL MaximumMinimum(HGLOBAL dib, const void* record);
// Effect 21, median: FilterSizeParams, squareSize 2..32.
HGLOBAL Median(HGLOBAL dib, const void* record);

// Effect 18, unsharp mask: UnsharpMaskParams.
HGLOBAL UnsharpMask(HGLOBAL dib, const void* record);

// Effect 22, find contour: FindContourParams. Images below 4 x 4 are refused.
HGLOBAL FindContour(HGLOBAL dib, const void* record);

// Effect 25, user-defined 5 x 5 kernel: UserFilterParams, scale not 0.
HGLOBAL UserFilter(HGLOBAL dib, const void* record);

// Effect 32, sketch: SketchParams. Images below 4 x 4 are refused.
HGLOBAL Sketch(HGLOBAL dib, const void* record);

// Effect 16, edge-preserving smoothing (no parameters).
HGLOBAL EdgePreservingSmooth(HGLOBAL dib);
// Effect 19, one-axis sharpening: AxisSharpenParams.
HGLOBAL AxisSharpen(HGLOBAL dib, const void* record);

#endif
