// Running an effect on one image entry, keeping its opacity mask consistent, and the After
// preview's run with its size-like parameters scaled to the zoom.
#ifndef FXUI_PREVIEW_EFFECT_RUNNER_H
#define FXUI_PREVIEW_EFFECT_RUNNER_H

#include "fxui.h"
#include "preview/preview_view.h"

// Applies effect `effectId` to `entry` by the effect's path: plain (image only), premultiplied
// (colour premultiplied by the mask, the mask processed too, then divided back out) or paired
// (one routine moving image and mask together). Replaced blocks are freed unless
// `keepReplaced`; with `plainOnly` every effect takes the plain path once its own null checks
// pass. 1 on success, 0 on failure.
int RunEffectOnEntry(ImageEntry* entry, int effectId, void* params, bool keepReplaced, bool plainOnly);

// Applies the view's effect to its entry of the preview image, with the record's size-like
// fields scaled by zoom / 100 for the run and restored afterwards. True when the effect was
// applied (the caller repaints).
bool RenderAfterPreview(PreviewView& view);

#endif
