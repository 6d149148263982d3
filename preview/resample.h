// Cutting a rectangle out of a DIB and scaling it to the preview's zoom.
#ifndef FXUI_PREVIEW_RESAMPLE_H
#define FXUI_PREVIEW_RESAMPLE_H

#include <windows.h>

// A new DIB of outW x outH pixels made from the spanW x spanH rectangle that starts at column
// x0 and stored row y0 of `source`, with the source's bit count and palette; null on failure
// or abort. 24-bit and grey-ramp images are sampled bilinearly in eighths, 1-bit images by
// nearest sample; other 8-bit images give zero pixels; 4-bit images are refused. Parts of the
// rectangle outside the source stay zero. The cursor is left alone.
HGLOBAL ResampleDib(HGLOBAL source, int x0, int y0, int spanW, int spanH, int outW, int outH);

#endif
