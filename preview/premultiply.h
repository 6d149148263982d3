// Colour premultiplied by an opacity mask, and divided back out, for effects that must not
// smear transparent colour into opaque pixels.
#ifndef FXUI_PREVIEW_PREMULTIPLY_H
#define FXUI_PREVIEW_PREMULTIPLY_H

#include <windows.h>

// A copy of `image` (24-bit or 8-bit) whose colour bytes v become v x a / 255 for the mask
// byte a of their pixel; null unless the mask is 8-bit and both have the same size.
HGLOBAL PremultiplyByMask(HGLOBAL image, HGLOBAL mask);

// In place: v becomes v x 255 / a where a is not 0 (values above 255 are stored as 255);
// pixels with a = 0 are left alone. 1, or 0 when the two images do not fit together.
int UnpremultiplyByMask(HGLOBAL image, HGLOBAL mask);

#endif
