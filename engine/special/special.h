// Curve, mirror and enhancement routines: effects driven by a curve, and the remaining
// effects without dialogs.
#ifndef FXUI_ENGINE_SPECIAL_SPECIAL_H
#define FXUI_ENGINE_SPECIAL_SPECIAL_H

#include <cstdint>

#include "fxui.h"

// Effect 56: MagicMirrorParams. Pixels moved by the curve across the columns, across the
// rows, along the distance from the centre or as a turn about it. Any 8-bit or 24-bit image.
HGLOBAL MagicMirror(HGLOBAL dib, const void* record);
// Effect 65: RibbonParams. Columns lifted by a cosine wave; uncovered area in the fill colour.
HGLOBAL Ribbon(HGLOBAL dib, const void* record);
// Effect 66: every row redrawn as if wrapped round the visible half of a vertical cylinder.
HGLOBAL Cylinder(HGLOBAL dib);

// Effect 67: ToneAdjustmentParams turned into a curve; returns what effect 3 returns for it.
HGLOBAL ToneAdjustment(HGLOBAL dib, const void* record);
// Effect 68: DirectionalErosionParams; 8-bit images only.
HGLOBAL DirectionalErosion(HGLOBAL dib, const void* record);
// Effect 70: every level scaled by 255 / p (p > 0) or -p / 255 (p <= 0); 24-bit and grey-ramp
// images. Leaves the cursor alone.
HGLOBAL LevelScaling(HGLOBAL dib, int32_t p);

#endif
