// The host imaging library's three calls that fxUi relies on. This folder holds our own
// stand-in for it, used by the demo host and the tests; a real host brings its own.
//
// The background description is three 32-bit values (the host's GetFxuiBackgroundSetting):
//   squareSize  > 0: a checkerboard of squares this many pixels wide, `color1` at the
//               top-left corner; otherwise a solid `color1`
//   color1, color2  colours as 0x00BBGGRR (red in the low byte)
// All zero, the value before a host sets it, is a solid black background.
#ifndef FXUI_YMDLL_YMDLL_H
#define FXUI_YMDLL_YMDLL_H

#include <stdint.h>
#include <windows.h>

#ifndef YMDLL_API
#define YMDLL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct YmBackground {
  int32_t squareSize;
  uint32_t color1;
  uint32_t color2;
} YmBackground;

// Composes entry `entryIndex` (-1: the current entry) of the HostImage over the background:
// the entry's image through its mask (none: opaque) at the entry's x, y, in a new 24-bit DIB
// of the picture's width x height. `reserved` is not read. Null on failure.
YMDLL_API HGLOBAL WINAPI YmImageCropToDib(HGLOBAL hostImage, int entryIndex, int reserved,
                                          const YmBackground* background);

// Draws a DIB stretched into `rect` of the device context. The last three are not read.
// Nonzero when something was drawn. (Windows only.)
YMDLL_API int WINAPI YmDibDisplay(HDC dc, const RECT* rect, HGLOBAL dib, int reserved1, int reserved2,
                                  int reserved3);

// Frees a HostImage block together with the image and mask DIBs of its entries in use.
// 1 when released, 0 for a null or unlockable handle.
YMDLL_API int WINAPI YmImageDelete(HGLOBAL hostImage);

#ifdef __cplusplus
}
#endif

#endif
