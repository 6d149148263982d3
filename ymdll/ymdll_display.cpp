// Drawing a DIB into a device context (Windows only).
#include "ymdll/ymdll.h"

#include "image/dib.h"

int WINAPI YmDibDisplay(HDC dc, const RECT* rect, HGLOBAL dib, int reserved1, int reserved2, int reserved3) {
  (void)reserved1;
  (void)reserved2;
  (void)reserved3;
  if (!dc || !rect || !dib) return 0;
  const auto* bits = static_cast<const uint8_t*>(GlobalLock(dib));
  if (!bits) return 0;
  DibLayout layout;
  int drawn = 0;
  if (ReadDibLayout(bits, GlobalSize(dib), &layout)) {
    SetStretchBltMode(dc, COLORONCOLOR);
    drawn = StretchDIBits(dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, 0, 0,
                          layout.width, layout.height, bits + layout.pixelOffset,
                          reinterpret_cast<const BITMAPINFO*>(bits), DIB_RGB_COLORS, SRCCOPY) > 0;
  }
  GlobalUnlock(dib);
  return drawn;
}
