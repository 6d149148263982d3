#include "ui/dialogs/superwnd.h"

#include <algorithm>

#include "platform/boundary.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGray = RGB(128, 128, 128);
constexpr COLORREF kLightGray = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Caption fonts by the low style bits: 0 asks the parent for its font.
constexpr int kFontHeights[4] = {0, 14, 20, 40};
constexpr int kEmbossedFontHeight = 40;
// The frame kind whose top line carries the caption.
constexpr DWORD kCaptionedFrame = 0x70;
// Caption places by style bits 2 and 3.
constexpr UINT kCaptionPlaces[4] = {DT_LEFT | DT_TOP, DT_RIGHT | DT_TOP, DT_CENTER | DT_TOP, DT_CENTER | DT_BOTTOM};

// ---- Drawing helpers ---------------------------------------------------------------------

void Polyline(HDC dc, COLORREF color, const POINT* points, int count) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, points[0].x, points[0].y, nullptr);
  for (int i = 1; i < count; ++i) LineTo(dc, points[i].x, points[i].y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void Line(HDC dc, COLORREF color, int x0, int y0, int x1, int y1) {
  const POINT points[2] = {{x0, y0}, {x1, y1}};
  Polyline(dc, color, points, 2);
}

// A one-pixel outline along the inside of `r` (right and bottom exclusive).
void Outline(HDC dc, COLORREF color, const RECT& r) {
  const POINT points[5] = {
      {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}, {r.left, r.top}};
  Polyline(dc, color, points, 5);
}

void Fill(HDC dc, COLORREF color, const RECT& r) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// ---- The frame kinds ---------------------------------------------------------------------

// A white box with a black outline, its gray shadow two pixels wide at the right and bottom.
void ShadowedBox(HDC dc, const RECT& r) {
  Fill(dc, kGray, RECT{r.left + 2, r.top + 2, r.right, r.bottom});
  const RECT box = {r.left, r.top, r.right - 2, r.bottom - 2};
  Fill(dc, kWhite, box);
  Outline(dc, kBlack, box);
}

// One-pixel frame: `topLeft` along the top and left, `bottomRight` along the bottom and right.
void LineFrame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  const POINT upper[3] = {{r.left, r.bottom - 2}, {r.left, r.top}, {r.right - 1, r.top}};
  const POINT lower[3] = {{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}};
  Polyline(dc, topLeft, upper, 3);
  Polyline(dc, bottomRight, lower, 3);
}

// Two outlines: `outer` on the frame, `inner` one pixel further in and to the lower right.
void DoubleOutline(HDC dc, const RECT& r, COLORREF outer, COLORREF inner) {
  Outline(dc, outer, RECT{r.left, r.top, r.right - 1, r.bottom - 1});
  Outline(dc, inner, RECT{r.left + 1, r.top + 1, r.right, r.bottom});
}

// Gray ticks three pixels long every 6 pixels along the four edges.
void TickFrame(HDC dc, const RECT& r) {
  constexpr int kStep = 6;
  constexpr int kLength = 3;
  for (int x = r.left; x < r.right; x += kStep) {
    Line(dc, kGray, x, r.top, x, r.top + kLength);
    Line(dc, kGray, x, r.bottom - 1, x, r.bottom - 1 - kLength);
  }
  for (int y = r.top; y < r.bottom; y += kStep) {
    Line(dc, kGray, r.left, y, r.left + kLength, y);
    Line(dc, kGray, r.right - 1, y, r.right - 1 - kLength, y);
  }
}

// How each frame kind (style bits 4 to 6) is drawn into the frame rectangle; the captioned
// kind lowers its top line to the middle of the caption first.
void DrawFrame(HDC dc, int kind, RECT r, int captionHeight) {
  switch (kind) {
    case 1: ShadowedBox(dc, r); break;
    case 2: LineFrame(dc, r, kWhite, kGray); break;
    case 3: LineFrame(dc, r, kGray, kWhite); break;
    case 4: DoubleOutline(dc, r, kGray, kWhite); break;
    case 5: DoubleOutline(dc, r, kWhite, kGray); break;
    case 6: TickFrame(dc, r); break;
    case 7:
      r.top += captionHeight / 2;
      DoubleOutline(dc, r, kWhite, kGray);
      break;
    default: break;  // kind 0: no frame
  }
}

// ---- Painting ----------------------------------------------------------------------------

// The caption font for the style: a new font the caller deletes (`owned`), or the parent's.
HFONT CaptionFont(HWND panel, DWORD style, bool* owned) {
  const int height = kFontHeights[style & kPanelFontMask];
  *owned = height != 0;
  if (!height) return reinterpret_cast<HFONT>(SendMessageA(GetParent(panel), WM_GETFONT, 0, 0));
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
}

// The frame rectangle: the client area, inset when the style asks for it.
RECT FrameRect(const RECT& client, DWORD style) {
  RECT r = client;
  if (style & kPanelInset) {
    const int dy = std::min(static_cast<int>(client.bottom) / 10 + 1, 8);
    InflateRect(&r, -2 * dy, -dy);
  }
  return r;
}

void DrawCaption(HDC dc, const char* caption, RECT place, UINT format, DWORD style) {
  const bool embossed = kFontHeights[style & kPanelFontMask] == kEmbossedFontHeight;
  const bool onLine = (style & kPanelFrameMask) == kCaptionedFrame;
  SetBkMode(dc, onLine ? OPAQUE : TRANSPARENT);
  SetBkColor(dc, kLightGray);
  format |= DT_SINGLELINE | DT_NOPREFIX;
  if (!embossed) {
    SetTextColor(dc, kBlack);
    DrawTextA(dc, caption, -1, &place, format);
    return;
  }
  const struct {
    COLORREF color;
    int dx, dy;
  } layers[3] = {{kWhite, -2, -1}, {kGray, 2, 1}, {kLightGray, 0, 0}};
  for (const auto& layer : layers) {
    RECT r = place;
    OffsetRect(&r, layer.dx, layer.dy);
    SetTextColor(dc, layer.color);
    DrawTextA(dc, caption, -1, &r, format);
    SetBkMode(dc, TRANSPARENT);  // only the first layer clears the line under the caption
  }
}

void Paint(HWND panel) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(panel, &paint);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(panel, GWL_STYLE));
  RECT client;
  GetClientRect(panel, &client);

  HPEN pen = CreatePen(PS_SOLID, 1, kLightGray);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Rectangle(dc, client.left, client.top, client.right, client.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);

  char text[256] = "  ";
  const int length = GetWindowTextA(panel, text + 2, sizeof text - 4);
  lstrcatA(text, "  ");
  bool ownedFont = false;
  HFONT font = CaptionFont(panel, style, &ownedFont);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int captionHeight = length > 0 ? metrics.tmHeight : 0;

  const RECT frame = FrameRect(client, style);
  const bool captionOnLine = (style & kPanelFrameMask) == kCaptionedFrame;
  DrawFrame(dc, static_cast<int>((style & kPanelFrameMask) >> 4), frame, captionHeight);
  if (length > 0) {
    RECT place = frame;
    InflateRect(&place, -2, -2);
    UINT format = kCaptionPlaces[(style & kPanelCaptionMask) >> 2];
    if (captionOnLine) {  // the caption sits on the top line, whatever its place says of height
      place.top = frame.top;
      format = (format & ~DT_BOTTOM) | DT_TOP;
    }
    DrawCaption(dc, text, place, format, style);
  }
  if (oldFont) SelectObject(dc, oldFont);
  if (ownedFont && font) DeleteObject(font);

  if (style & kPanelNotify) {
    SendMessageA(GetParent(panel), kPanelMessage, static_cast<WPARAM>(GetDlgCtrlID(panel)), reinterpret_cast<LPARAM>(dc));
  }
  EndPaint(panel, &paint);
}

// A new text shows at once.
LRESULT SetText(HWND panel, WPARAM wParam, LPARAM lParam) {
  InvalidateRect(panel, nullptr, TRUE);
  const LRESULT result = DefWindowProcA(panel, WM_SETTEXT, wParam, lParam);
  UpdateWindow(panel);
  return result;
}

LRESULT PanelMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(panel);
      return 0;
    case WM_SETTEXT:
      return SetText(panel, wParam, lParam);
    default:
      return DefWindowProcA(panel, message, wParam, lParam);
  }
}

LRESULT CALLBACK SuperWndProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<LRESULT>(0, [&] { return PanelMessage(panel, message, wParam, lParam); });
}

}  // namespace

bool RegisterSuperWnd(HINSTANCE instance) {
  WNDCLASSA panelClass{};
  panelClass.style = CS_HREDRAW | CS_VREDRAW;
  panelClass.lpfnWndProc = SuperWndProc;
  panelClass.hInstance = instance;
  panelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  panelClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  panelClass.lpszClassName = kSuperWndClass;
  return RegisterClassA(&panelClass) != 0;
}

void UnregisterSuperWnd(HINSTANCE instance) { UnregisterClassA(kSuperWndClass, instance); }
