#include "preview/display_window.h"

#include "image/dib.h"
#include "platform/boundary.h"
#include "preview/preview_control.h"

namespace {

YmBackground background = {0, 0, 0};

// Shared by every display window; only the one holding the capture changes it.
struct DragState {
  int x, y;       // the last pointer position
  bool dragging;
};
DragState drag = {0, 0, false};

PreviewState* StateOf(HWND window) {
  return reinterpret_cast<PreviewState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void FillGrey(HDC dc, int left, int top, int right, int bottom) {
  const RECT band = {left, top, right, bottom};
  FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
}

// The picture centred in the client area, the margins light grey except a one-pixel frame
// right round the picture.
void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const PreviewState* state = StateOf(window);
  HGLOBAL picture = state && state->view.previewImage
                        ? YmImageCropToDib(state->view.previewImage, -1, 0, &background)
                        : nullptr;
  if (picture) {
    RECT client;
    GetClientRect(window, &client);
    int w = 0, h = 0;
    GetDibSize(picture, &w, &h);
    int x0 = (client.right - client.left - w) / 2, y0 = (client.bottom - client.top - h) / 2;
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    FillGrey(dc, client.left, client.top, x0 - 1, client.bottom);
    FillGrey(dc, client.left, client.top, client.right, y0 - 1);
    FillGrey(dc, x0 + w + 1, client.top, client.right, client.bottom);
    FillGrey(dc, client.left, y0 + h + 1, client.right, client.bottom);
    const RECT target = {x0, y0, x0 + w, y0 + h};
    YmDibDisplay(dc, &target, picture, 0, 0, 0);
  }
  EndPaint(window, &paint);
  if (picture) GlobalFree(picture);
}

void MouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  const int dx = x - drag.x, dy = y - drag.y;
  drag.x = x;
  drag.y = y;
  const LPARAM offset = MAKELPARAM(static_cast<WORD>(dx), static_cast<WORD>(dy));
  SendMessageA(GetParent(window), kPanRequest, wParam, offset);
}

}  // namespace

void SetDisplayBackground(const YmBackground& value) { background = value; }

const YmBackground& DisplayBackground() { return background; }

namespace {

LRESULT DisplayWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_LBUTTONDOWN:
      drag = DragState{LOWORD(lParam), HIWORD(lParam), true};
      SetCapture(window);
      break;
    case WM_MOUSEMOVE:
      if (drag.dragging) MouseMove(window, wParam, lParam);
      break;
    case WM_LBUTTONUP:
      ReleaseCapture();
      drag.dragging = false;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<LRESULT>(0, [&] { return DisplayWindowMessage(window, message, wParam, lParam); });
}
