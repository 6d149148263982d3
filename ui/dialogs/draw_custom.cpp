#include "ui/dialogs/draw_custom.h"

#include <algorithm>

#include "fxui.h"
#include "platform/boundary.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/curve_editor_logic.h"
#include "ui/dialogs/magic_mirror_dialog.h"

namespace {

// The editor's state. One Magic Mirror dialog is open at a time, and the last edit point
// outlives it, so the state is module-wide; the window keeps the dialog's context as its user
// data.
struct CurveEditorState {
  CurvePoint last;  // where the previous edit ended; a drag fills the run from here
};
CurveEditorState editor = {{0, 0}};

constexpr int kLevels = 256;

CurveGeometry GeometryOf(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return CurveGeometryOf(client.right, client.bottom);
}

DialogContext* ContextOf(HWND window) {
  return reinterpret_cast<DialogContext*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A one-pixel black line through the points of the 256 entries.
void DrawCurve(HWND window, HDC dc) {
  HGLOBAL block = MagicMirrorWorkingCurve();
  const auto* curve = block ? static_cast<const uint8_t*>(GlobalLock(block)) : nullptr;
  if (!curve) return;
  const CurveGeometry g = GeometryOf(window);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, CurvePointX(g, 0), CurvePointY(g, curve[0]), nullptr);
  for (int i = 1; i < kLevels; ++i) LineTo(dc, CurvePointX(g, i), CurvePointY(g, curve[i]));
  SelectObject(dc, old);
  DeleteObject(pen);
  GlobalUnlock(block);
}

// Covers the whole client area in the button face colour.
void Clear(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, client.left, client.top, client.right, client.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  DrawCurve(window, dc);
  EndPaint(window, &paint);
}

// A press, or a move with the button held: edits the working curve at the mouse point, copies
// it into the record and redraws. Points outside the drawing area are ignored.
void Edit(HWND window, LPARAM point, bool press) {
  CurvePoint at;
  const int x = static_cast<short>(LOWORD(point));
  const int y = static_cast<short>(HIWORD(point));
  if (!MouseToCurve(GeometryOf(window), x, y, &at)) return;
  HGLOBAL block = MagicMirrorWorkingCurve();
  auto* curve = block ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr;
  if (!curve) return;
  EditCurve(curve, editor.last, at, press);
  editor.last = at;
  if (DialogContext* context = ContextOf(window)) {
    std::copy(curve, curve + kLevels, static_cast<MagicMirrorParams*>(context->record)->curve);
  }
  GlobalUnlock(block);
  HDC dc = GetDC(window);
  Clear(window, dc);
  DrawCurve(window, dc);
  ReleaseDC(window, dc);
}

// Releasing the button hands the finished stroke to the After preview.
void Release(HWND window) {
  if (GetCapture() == window) ReleaseCapture();
  DialogContext* context = ContextOf(window);
  HWND dialog = GetParent(window);
  if (!context || !GetDlgItem(dialog, IDC_PREVIEW_AFTER)) return;
  WriteMagicMirrorRecord(dialog, *context);
  SendRefreshRequest(dialog, context->record);
}

LRESULT EditorMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(window);
      Edit(window, lParam, true);
      return 0;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) Edit(window, lParam, false);
      return 0;
    case WM_LBUTTONUP:
      Release(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<LRESULT>(0, [&] { return EditorMessage(window, message, wParam, lParam); });
}

}  // namespace

bool RegisterDrawCustom(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = EditorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDR_CURVE_CURSOR));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kDrawCustomClass;
  return RegisterClassA(&wc) != 0;
}

void UnregisterDrawCustom(HINSTANCE instance) { UnregisterClassA(kDrawCustomClass, instance); }
