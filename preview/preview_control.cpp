#include "preview/preview_control.h"

#include <cstdio>
#include <initializer_list>
#include <new>

#include "image/dib.h"
#include "image/host_image.h"
#include "platform/boundary.h"
#include "preview/display_window.h"
#include "preview/effect_runner.h"
#include "preview/preview_image.h"
#include "preview/view_geometry.h"
#include "resources/resource.h"
#include "ymdll/ymdll.h"

namespace {

constexpr int kLabelWidth = 44;
constexpr int kButtonWidth = 16;

// The font of the zoom label and buttons, made once for the life of the module.
HFONT SharedFont() {
  static HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
  return font;
}

PreviewState* NewState(HWND window) {
  auto* state = new (std::nothrow) PreviewState{};
  if (!state) return nullptr;
  state->window = window;
  state->showZoomLabel = 1;
  state->ownsState = 1;
  state->showZoomButtons = 1;
  state->panEnabled = 1;
  return state;
}

// Width and height of the host's current entry image; false when there is none.
bool HostEntrySize(HGLOBAL hostImage, int* width, int* height) {
  ImageEntry* entry = LockImageEntry(hostImage, GetCurrentEntryIndex(hostImage));
  if (!entry) return false;
  const bool known = GetDibSize(entry->image, width, height) && *width > 0 && *height > 0;
  UnlockHostImage(hostImage);
  return known;
}

SIZE DisplaySize(const PreviewState* state) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(state->display, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

bool Rebuild(PreviewState* state) {
  RECT client;
  GetClientRect(state->display, &client);
  if (!BuildPreviewImage(state->view, client)) return false;
  InvalidateRect(state->display, nullptr, FALSE);
  return true;
}

ViewRect ViewOf(const PreviewState* state) {
  return ViewRect{state->view.viewLeft, state->view.viewTop, state->view.viewRight, state->view.viewBottom};
}

void SetView(PreviewState* state, const ViewRect& view) {
  state->view.viewLeft = view.left;
  state->view.viewTop = view.top;
  state->view.viewRight = view.right;
  state->view.viewBottom = view.bottom;
}

void SetZoom(PreviewState* state, int zoom) {
  int w = 0, h = 0;
  if (!state->view.hostImage || zoom < state->minZoom || zoom > 100) return;
  if (!HostEntrySize(state->view.hostImage, &w, &h)) return;
  const SIZE display = DisplaySize(state);
  const ViewRect view = ZoomedView(ViewOf(state), w, h, display.cx, display.cy, zoom);
  state->view.zoom = zoom;
  if (view.right > view.left && view.bottom > view.top) SetView(state, view);
  if (Rebuild(state)) state->dirty = 1;
  InvalidateRect(state->window, nullptr, TRUE);
}

void Pan(PreviewState* state, int dx, int dy) {
  int w = 0, h = 0;
  if (!state->panEnabled || !state->view.hostImage || !HostEntrySize(state->view.hostImage, &w, &h)) return;
  const ViewRect view = PannedView(ViewOf(state), w, h, state->view.zoom, dx, dy);
  if (view == ViewOf(state)) return;
  SetView(state, view);
  if (Rebuild(state)) state->dirty = 1;
}

void Layout(PreviewState* state) {
  RECT c;
  GetClientRect(state->window, &c);
  const int split = static_cast<int>(c.bottom * 0.84 + c.top * 0.16);
  HWND plus = GetDlgItem(state->window, IDC_ZOOM_IN);
  HWND minus = GetDlgItem(state->window, IDC_ZOOM_OUT);
  const UINT flags = SWP_NOZORDER;
  if (state->showZoomButtons) {
    SetWindowPos(state->display, nullptr, c.left + 2, c.top + 2, (c.right - 2) - (c.left + 2),
                 (split - 2) - (c.top + 2), flags);
    SetWindowPos(plus, nullptr, (c.left + c.right - kLabelWidth) / 2 - kButtonWidth, split, kButtonWidth,
                 c.bottom - split, flags | SWP_SHOWWINDOW);
    SetWindowPos(minus, nullptr, (c.left + c.right + 46) / 2, split, kButtonWidth, c.bottom - split,
                 flags | SWP_SHOWWINDOW);
  } else {
    SetWindowPos(state->display, nullptr, c.left + 2, c.top + 8, (c.right - 2) - (c.left + 2),
                 (split + 4) - (c.top + 8), flags);
    ShowWindow(plus, SW_HIDE);
    ShowWindow(minus, SW_HIDE);
  }
}

void Create(HWND window, const CREATESTRUCTA* create) {
  auto* state = static_cast<PreviewState*>(create->lpCreateParams);
  if (!state) state = NewState(window);
  if (!state) return;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  state->display = CreateWindowExA(0, "SubPreviewWnd", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 4, 4, 50, 50, window,
                                   nullptr, create->hInstance, nullptr);
  for (int id : {IDC_ZOOM_IN, IDC_ZOOM_OUT}) {
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 1, 1, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), create->hInstance, nullptr);
    ShowWindow(button, SW_SHOW);
  }
  ShowWindow(state->display, SW_SHOW);
  SetTimer(window, kPreviewTimer, 1000, nullptr);
}

void Destroy(HWND window, PreviewState* state) {
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (state->ownsState) {
    if (state->view.previewImage) YmImageDelete(state->view.previewImage);
    delete state;
  }
  KillTimer(window, kPreviewTimer);
}

// The zoom percentage centred under the display child. True when it was painted.
bool PaintLabel(PreviewState* state) {
  if (!state->showZoomLabel) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(state->window, &paint);
  RECT client, child;
  GetClientRect(state->window, &client);
  GetWindowRect(state->display, &child);
  MapWindowPoints(nullptr, state->window, reinterpret_cast<POINT*>(&child), 2);
  const int left = (child.left + child.right - kLabelWidth) / 2;
  RECT label = {left, child.bottom + 1, left + kLabelWidth, client.bottom};
  FillRect(dc, &label, GetSysColorBrush(COLOR_BTNFACE));
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", state->view.zoom);
  HGDIOBJ oldFont = SelectObject(dc, SharedFont());
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  EndPaint(state->window, &paint);
  return true;
}

void DrawZoomButton(const DRAWITEMSTRUCT* item) {
  RECT area = item->rcItem;
  HGDIOBJ oldFont = SelectObject(item->hDC, SharedFont());
  SetBkMode(item->hDC, TRANSPARENT);
  DrawTextA(item->hDC, item->CtlID == IDC_ZOOM_IN ? "+" : "-", -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(item->hDC, oldFont);
  HGDIOBJ oldBrush = SelectObject(item->hDC, GetStockObject(NULL_BRUSH));
  DrawEdge(item->hDC, &area, (item->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  SelectObject(item->hDC, oldBrush);
}

void ZoomClicked(PreviewState* state, int id) {
  int zoom;
  if (id == IDC_ZOOM_IN && state->view.zoom < 100) {
    zoom = ZoomStep(state->view.zoom, ZoomDirection::kIn);
  } else if (id == IDC_ZOOM_OUT && state->view.zoom > state->minZoom) {
    zoom = ZoomStep(state->view.zoom, ZoomDirection::kOut);
  } else {
    return;
  }
  SetZoom(state, zoom);
  if (state->twin) SetZoom(state->twin, zoom);
}

void TimerTick(PreviewState* state) {
  if (!state->dirty) return;
  Rebuild(state);
  if (RenderAfterPreview(state->view)) InvalidateRect(state->display, nullptr, FALSE);
  state->dirty = 0;
}

LRESULT PreviewWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    Create(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  PreviewState* state = GetPreviewState(window);
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      Layout(state);
      break;
    case WM_PAINT:
      if (PaintLabel(state)) return 0;
      break;
    case WM_DRAWITEM:
      DrawZoomButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return 0;
    case WM_COMMAND:
      ZoomClicked(state, LOWORD(wParam));
      break;
    case kRefreshRequest:
      state->view.params = reinterpret_cast<void*>(lParam);
      state->dirty = 1;
      break;
    case kPanRequest: {
      const int dx = static_cast<short>(LOWORD(lParam)), dy = static_cast<short>(HIWORD(lParam));
      Pan(state, dx, dy);
      if (state->twin) Pan(state->twin, dx, dy);
      break;
    }
    case WM_TIMER:
      TimerTick(state);
      break;
    case WM_DESTROY:
      Destroy(window, state);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<LRESULT>(0, [&] { return PreviewWindowMessage(window, message, wParam, lParam); });
}

}  // namespace

PreviewState* GetPreviewState(HWND control) {
  return control ? reinterpret_cast<PreviewState*>(GetWindowLongPtrA(control, GWLP_USERDATA)) : nullptr;
}

void RegisterPreviewClasses(HINSTANCE instance) {
  struct ClassRow {
    const char* name;
    WNDPROC procedure;
    HCURSOR cursor;
    HBRUSH background;
  };
  const ClassRow rows[] = {
      {"previewwnd", PreviewWindowProc, LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_MENU + 1)},
      {"KX MiniPreview Window", PreviewWindowProc, LoadCursorA(nullptr, IDC_ARROW),
       reinterpret_cast<HBRUSH>(COLOR_MENU + 1)},
      {"SubPreviewWnd", DisplayWindowProc, LoadCursorA(instance, MAKEINTRESOURCEA(IDR_PAN_CURSOR)),
       static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))},
  };
  for (const ClassRow& row : rows) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = row.procedure;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = row.cursor;
    wc.hbrBackground = row.background;
    wc.lpszClassName = row.name;
    if (!RegisterClassExA(&wc)) return;
  }
}

int AttachPreview(PreviewState* state, HGLOBAL hostImage, int isAfter, int effectId) {
  state->view.hostImage = hostImage;
  state->view.entryIndex = 0;
  state->view.isAfter = isAfter;
  state->view.effectId = effectId;
  SetWindowLongPtrA(state->display, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  int w = 0, h = 0;
  if (HostEntrySize(hostImage, &w, &h)) {
    const SIZE display = DisplaySize(state);
    const FirstViewResult first = FirstView(w, h, display.cx, display.cy);
    state->view.zoom = state->minZoom = first.zoom;
    SetView(state, first.view);
  }
  Rebuild(state);
  return 1;
}

void SetPreviewTwin(PreviewState* state, PreviewState* twin) { state->twin = twin; }

void ShowZoomButtons(PreviewState* state, int show) {
  state->showZoomButtons = show;
  SendMessageA(state->window, WM_SIZE, 0, 0);
}
