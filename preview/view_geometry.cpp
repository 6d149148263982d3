#include "preview/view_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// 100 / z in double precision, truncated or rounded up.
int HundredOver(int zoom) { return static_cast<int>(100.0 / zoom); }
int HundredOverRoundedUp(int zoom) { return static_cast<int>(std::ceil(100.0 / zoom)); }

// (displaySize x 100 + zoom / 2) / zoom: the image pixels a display side shows at `zoom`.
int VisibleAt(int displaySize, int zoom) { return (displaySize * 100 + zoom / 2) / zoom; }

}  // namespace

int ZoomStep(int zoom, ZoomDirection direction) {
  if (zoom < 1) return 1;
  switch (direction) {
    case ZoomDirection::kIn:
      if (zoom < 8) return zoom + 1;
      if (zoom < 100) return 100 / (HundredOver(zoom) - 1);
      return (zoom / 100 + 1) * 100;
    case ZoomDirection::kSnap:
      if (zoom <= 100) return 100 / HundredOverRoundedUp(zoom);
      return zoom / 100 * 100;
    case ZoomDirection::kOut:
      if (zoom <= 8) return zoom - 1;
      if (zoom <= 100) return 100 / (HundredOver(zoom) + 1);
      return (zoom / 100 - 1) * 100;
  }
  return zoom;
}

FirstViewResult FirstView(int imageW, int imageH, int displayW, int displayH) {
  const int zx = std::min((displayW * 100 + imageW / 2) / imageW, 100);
  const int zy = std::min((displayH * 100 + imageH / 2) / imageH, 100);
  const int zoom = ZoomStep(std::max(std::min(zx, zy), 1), ZoomDirection::kSnap);
  const int visW = std::min(VisibleAt(displayW, zoom), imageW);
  const int visH = std::min(VisibleAt(displayH, zoom), imageH);
  const int left = (imageW - visW) / 2, top = (imageH - visH) / 2;
  return FirstViewResult{zoom, ViewRect{left, top, left + visW, top + visH}};
}

namespace {

// The start of a span of `visible` pixels centred on `centre`, kept inside [0, limit].
int CentredStart(int centre, int visible, int limit) {
  int start = centre - (visible + 1) / 2;
  if (start < 0) start = 0;
  if (start > limit - visible) start = limit - visible;
  return start;
}

}  // namespace

ViewRect ZoomedView(const ViewRect& view, int imageW, int imageH, int displayW, int displayH, int zoom) {
  const int visW = std::max(std::min(displayW * 100 / zoom, imageW), 1);
  const int visH = std::max(std::min(displayH * 100 / zoom, imageH), 1);
  const int left = CentredStart((view.left + view.right) / 2, visW, imageW);
  const int top = CentredStart((view.top + view.bottom) / 2, visH, imageH);
  return ViewRect{left, top, left + visW, top + visH};
}

ViewRect PannedView(const ViewRect& view, int imageW, int imageH, int zoom, int dx, int dy) {
  const int ox = -dx * 100 / zoom;
  const int oy = -dy * 100 / zoom;
  ViewRect moved{view.left + ox, view.top - oy, view.right + ox, view.bottom - oy};
  auto shift = [&moved](int x, int y) {
    moved.left += x;
    moved.right += x;
    moved.top += y;
    moved.bottom += y;
  };
  if (moved.left < 0) shift(-moved.left, 0);
  if (moved.top < 0) shift(0, -moved.top);
  if (moved.right > imageW) shift(-(moved.right - imageW), 0);
  if (moved.bottom > imageH) shift(0, -(moved.bottom - imageH));
  return moved;
}
