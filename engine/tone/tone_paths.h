// The three table-driven paths the tone routines share: 24-bit pixels through one table per
// channel, grey-ramp pixels through one table, and palette images whose palette is mapped
// while their pixel bytes are copied.
#ifndef FXUI_ENGINE_TONE_TONE_PATHS_H
#define FXUI_ENGINE_TONE_TONE_PATHS_H

#include <cstdint>

#include "engine/routine_frame.h"

// Maps every pixel of a 24-bit image (blue, green, red bytes through their tables); the row
// padding is skipped. Abort test before every row, progress every 16th row.
void MapRgbRows(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red);

// Maps every pixel byte of a grey-ramp image through `table`. Same cadence as MapRgbRows.
void MapGreyRows(RoutineFrame& frame, const uint8_t* table);

// Maps the colour-count palette entries into the result; the fourth byte of each result
// entry is copied from the source or left 0.
enum class FourthByte { kCopy, kZero };
void MapPaletteEntries(RoutineFrame& frame, const uint8_t* blue, const uint8_t* green, const uint8_t* red,
                       FourthByte fourth);

// Copies the pixel bytes a whole stride per row, asking the abort test and reporting progress
// on every `cadence`-th row (abort test first).
void CopyPixelRows(RoutineFrame& frame, int cadence);

#endif
