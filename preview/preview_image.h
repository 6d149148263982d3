// The preview image of a control: a one-entry copy of the host's picture whose entry holds the
// visible part of the current entry's image and mask, resampled to the zoom.
#ifndef FXUI_PREVIEW_PREVIEW_IMAGE_H
#define FXUI_PREVIEW_PREVIEW_IMAGE_H

#include "preview/preview_view.h"

// Builds a new preview image for `view` within the display area `display` (the client
// rectangle of the control's display child). On success it releases the previous preview
// image with YmImageDelete, stores the new one in the view and returns true; the caller
// repaints the display. On failure the previous preview image stays.
bool BuildPreviewImage(PreviewView& view, const RECT& display);

#endif
