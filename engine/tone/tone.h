// Tone and colour routines: per-level mappings of all channels or of one.
#ifndef FXUI_ENGINE_TONE_TONE_H
#define FXUI_ENGINE_TONE_TONE_H

#include "fxui.h"

// Effect 1: BrightnessContrastParams. Null when brightness and contrast are both 0.
HGLOBAL BrightnessContrast(HGLOBAL dib, const void* record);

#endif
