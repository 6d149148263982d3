// The Tone Adjustment dialog (effect 67): highlight, midtone and shadow sliders, the channel
// group, "&Auto", and the superwnd panel showing the picture's histogram under the tone curve.
#include <new>

#include "fxui.h"
#include "image/host_image.h"
#include "platform/boundary.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/superwnd.h"
#include "ui/dialogs/tone_panel.h"
#include "ui/module.h"

namespace {

constexpr SliderRange kRange = {-100, 100, 10};

// The curve the panel shows: created at the first opening, kept for the life of the process.
HGLOBAL toneCurve = nullptr;
// The histograms of the current entry and their bar tables, by ToneTable; null where not
// counted (a grey picture has only kToneAll) or when memory ran out.
HGLOBAL histograms[kToneTableCount] = {};
HGLOBAL barTables[kToneTableCount] = {};
// Slider positions, back at 0 at every opening.
int highlightPosition = 0;
int midtonePosition = 0;
int shadowPosition = 0;

// ---- Module-wide blocks ------------------------------------------------------------------

void ReleaseTables() {
  for (int t = 0; t < kToneTableCount; ++t) {
    if (histograms[t]) GlobalFree(histograms[t]);
    if (barTables[t]) GlobalFree(barTables[t]);
    histograms[t] = barTables[t] = nullptr;
  }
}

void ResetToneCurve() {
  if (!toneCurve) toneCurve = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kToneLevels);
  auto* curve = toneCurve ? static_cast<uint8_t*>(GlobalLock(toneCurve)) : nullptr;
  if (!curve) return;
  for (int i = 0; i < kToneLevels; ++i) curve[i] = static_cast<uint8_t>(i);
  GlobalUnlock(toneCurve);
}

void UpdateToneCurve() {
  auto* curve = toneCurve ? static_cast<uint8_t*>(GlobalLock(toneCurve)) : nullptr;
  if (!curve) return;
  DisplayToneCurve(highlightPosition, midtonePosition, shadowPosition, curve);
  GlobalUnlock(toneCurve);
}

// Counts the histograms of the current entry's image; any table that cannot be allocated
// leaves none at all.
void CountHistograms(HGLOBAL hostImage, bool gray) {
  const int tables = gray ? 1 : kToneTableCount;
  for (int t = 0; t < tables; ++t) {
    histograms[t] = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kToneLevels * sizeof(uint32_t));
    if (!histograms[t]) return ReleaseTables();
  }
  ImageEntry* entry = LockImageEntry(hostImage, GetCurrentEntryIndex(hostImage));
  if (!entry) return;
  HGLOBAL image = entry->image;
  UnlockHostImage(hostImage);
  const void* bits = image ? GlobalLock(image) : nullptr;
  if (!bits) return;
  uint32_t* counts[kToneTableCount] = {};
  for (int t = 0; t < tables; ++t) counts[t] = static_cast<uint32_t*>(GlobalLock(histograms[t]));
  CountToneHistograms(bits, GlobalSize(image), gray, counts);
  for (int t = 0; t < tables; ++t) GlobalUnlock(histograms[t]);
  GlobalUnlock(image);
}

// Squares the panel on its place and computes the bar tops for its inner height before that.
void LayOutPanel(HWND dialog) {
  HWND panel = GetDlgItem(dialog, IDC_TONE_PANEL);
  RECT client, place;
  GetClientRect(panel, &client);
  GetWindowRect(panel, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  const PanelPlace square = SquarePanel(client.right, client.bottom, place.left, place.top);
  if (square.changed) {
    SetWindowPos(panel, nullptr, square.x, square.y, square.side, square.side,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  for (int t = 0; t < kToneTableCount; ++t) {
    if (!histograms[t]) continue;
    barTables[t] = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kToneLevels * sizeof(uint16_t));
    if (!barTables[t]) continue;
    const auto* counts = static_cast<const uint32_t*>(GlobalLock(histograms[t]));
    auto* tops = static_cast<uint16_t*>(GlobalLock(barTables[t]));
    if (counts && tops) ComputeBarTops(counts, client.bottom - 2, tops);
    GlobalUnlock(barTables[t]);
    GlobalUnlock(histograms[t]);
  }
}

// ---- The panel's contents ----------------------------------------------------------------

// The first checked of "RGB", "R" and "G"; 3 (blue) when none of them is.
int FirstCheckedOfThree(HWND dialog) {
  for (int i = 0; i < 3; ++i) {
    if (IsDlgButtonChecked(dialog, IDC_CHANNEL_RGB + i) == BST_CHECKED) return i;
  }
  return kToneBlue;
}

void DrawBars(HDC dc, const RECT& client, int channel) {
  const int table = channel >= kToneRed && channel <= kToneBlue ? channel : kToneAll;
  if (!barTables[table]) return;
  const auto* tops = static_cast<const uint16_t*>(GlobalLock(barTables[table]));
  if (!tops) return;
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  HGDIOBJ old = SelectObject(dc, pen);
  for (int i = 0; i < kToneLevels; ++i) {
    const int x = BarColumn(i, client.right);
    MoveToEx(dc, x, tops[i], nullptr);
    LineTo(dc, x, client.bottom - 1);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
  GlobalUnlock(barTables[table]);
}

void DrawCurve(HDC dc, const RECT& client, int button) {
  const auto* curve = toneCurve ? static_cast<const uint8_t*>(GlobalLock(toneCurve)) : nullptr;
  if (!curve) return;
  constexpr COLORREF kPens[4] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  HPEN pen = CreatePen(PS_SOLID, 1, kPens[button]);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 2, client.bottom - 2, nullptr);
  for (int step = 0; step <= CurveSteps(client.right); ++step) {
    const PanelPoint point = CurvePoint(curve, step, client.right, client.bottom);
    LineTo(dc, point.x, point.y);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
  GlobalUnlock(toneCurve);
}

// The panel asks for its contents at the end of each paint.
void PaintPanel(HWND dialog, const DialogContext& context, HWND panel, HDC dc) {
  RECT client;
  GetClientRect(panel, &client);
  DrawBars(dc, client, static_cast<const ToneAdjustmentParams*>(context.record)->channel);
  DrawCurve(dc, client, FirstCheckedOfThree(dialog));
}

// ---- The dialog --------------------------------------------------------------------------

void WriteRecord(HWND dialog, const DialogContext& context) {
  auto* params = static_cast<ToneAdjustmentParams*>(context.record);
  params->highlight = highlightPosition;
  params->midtone = midtonePosition;
  params->shadow = shadowPosition;
  params->channel = CheckedChannel(dialog, params->channel);
}

void Changed(HWND dialog, const DialogContext& context) {
  WriteRecord(dialog, context);
  SendRefreshRequest(dialog, context.record);
  UpdateToneCurve();
  InvalidateRect(GetDlgItem(dialog, IDC_TONE_PANEL), nullptr, FALSE);
}

INT_PTR InitDialog(HWND dialog, DialogContext* context) {
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  PreviewHookup(dialog, context->image, EFFECT_TONE_ADJUSTMENT);
  highlightPosition = midtonePosition = shadowPosition = 0;
  for (int i = 0; i < 3; ++i) {
    InitSlider(dialog, IDC_TONE_HIGHLIGHT + i, kRange, 0);
    SetLabelNumber(dialog, IDC_TONE_HIGHLIGHT_LABEL + i, "%d", 0);
  }
  const bool gray = IsGrayImage(context->image);
  if (gray) ApplyGrayLayout(dialog);
  CheckRadioButton(dialog, IDC_CHANNEL_RGB, IDC_CHANNEL_B, IDC_CHANNEL_RGB);
  ResetToneCurve();
  CountHistograms(context->image, gray);
  LayOutPanel(dialog);
  WriteRecord(dialog, *context);
  SendRefreshRequest(dialog, context->record);
  return context->modal;
}

// False for the scroll codes that move nothing.
bool Scroll(HWND dialog, const DialogContext& context, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) >= SB_ENDSCROLL) return false;
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  const int slider = id == IDC_TONE_HIGHLIGHT ? 0 : id == IDC_TONE_MIDTONE ? 1 : 2;  // any other: shadow
  int* const positions[3] = {&highlightPosition, &midtonePosition, &shadowPosition};
  *positions[slider] = HandleSliderScroll(wParam, lParam, kRange);
  SetLabelNumber(dialog, IDC_TONE_HIGHLIGHT_LABEL + slider, "%d", *positions[slider]);
  Changed(dialog, context);
  return true;
}

// Highlight and shadow from the histogram of the chosen channel, through the sliders.
void Auto(HWND dialog, const DialogContext& context) {
  const int table = FirstCheckedOfThree(dialog);
  if (!histograms[table]) return;
  const auto* counts = static_cast<const uint32_t*>(GlobalLock(histograms[table]));
  if (!counts) return;
  const AutoTone tone = AutoToneFromHistogram(counts);
  GlobalUnlock(histograms[table]);
  const auto move = [dialog](int slider, int position) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position)),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, slider)));
  };
  move(IDC_TONE_HIGHLIGHT, tone.highlight);
  move(IDC_TONE_SHADOW, tone.shadow);
  WriteRecord(dialog, context);
  SendRefreshRequest(dialog, context.record);
}

INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog(dialog, reinterpret_cast<DialogContext*>(lParam));
  auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (!context) return FALSE;
  switch (message) {
    case WM_HSCROLL:
      return Scroll(dialog, *context, wParam, lParam);
    case kPanelMessage:
      PaintPanel(dialog, *context, GetDlgItem(dialog, static_cast<int>(wParam)), reinterpret_cast<HDC>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CHANNEL_RGB:
        case IDC_CHANNEL_R:
        case IDC_CHANNEL_G:
        case IDC_CHANNEL_B:
          Changed(dialog, *context);
          return TRUE;
        case IDC_TONE_AUTO:
          Auto(dialog, *context);
          return TRUE;
        case IDOK:  // the record is always current
          EndEffectDialog(dialog, context->modal, 1);
          return TRUE;
        case IDCANCEL:
          EndEffectDialog(dialog, context->modal, 0);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      ReleaseTables();
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      delete context;
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK ToneAdjustmentProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<INT_PTR>(FALSE, [&] { return DialogMessage(dialog, message, wParam, lParam); });
}

}  // namespace

INT_PTR OpenToneAdjustmentDialog(int, HWND parent, HGLOBAL image, void* record, int modal) {
  auto* context = new (std::nothrow) DialogContext{image, modal, record};
  if (!context) return 0;
  // An embedded run leaves the class registered (its panel still existed when the opener
  // returned); take that registration away first, so that only a real failure refuses.
  UnregisterSuperWnd(ModuleInstance());
  if (!RegisterSuperWnd(ModuleInstance())) {
    delete context;
    return 0;
  }
  highlightPosition = midtonePosition = shadowPosition = 0;
  const INT_PTR result = RunDialogTemplate(IDD_TONE_ADJUSTMENT, ToneAdjustmentProc, parent,
                                           reinterpret_cast<LPARAM>(context), modal);
  UnregisterSuperWnd(ModuleInstance());
  return result;
}
