// The effect browser (GetFxBrowserParam): a drop-down list of 28 effects; the chosen effect's
// own dialog runs embedded inside the browser's frame, without its OK and Cancel, and writes
// the caller's record. The browser's OK hands back the effect and the record.
#include <initializer_list>

#include <windows.h>

#include "fxui.h"
#include "platform/boundary.h"
#include "resources/resource.h"
#include "ui/dialog_dispatcher.h"
#include "ui/module.h"

namespace {

// Lives on the stack of GetFxBrowserParam for the modal call; the window's user data.
struct BrowserContext {
  HWND browser;      // the browser window
  HWND embedded;     // the effect dialog shown inside the frame, or null
  LONG savedStyle;   // the embedded dialog's style before it became a child
  HGLOBAL image;     // the caller's HostImage
  int* effectId;     // the caller's variable: receives the chosen effect
  void* record;      // the caller's record, shared by every embedded dialog
};

// One entry of the list, in list order (the list is not sorted: its index is the row).
struct BrowserEntry {
  const char* name;
  int effectId;
  int maximum;  // for the filter-size entries "Maximum" and "Minimum": 1 or 0; -1 otherwise
};

constexpr BrowserEntry kEntries[] = {
    // name in the list        effect                       maximum
    {"Brightness and Contrast", EFFECT_BRIGHTNESS_CONTRAST, -1},
    {"Hue and Saturation", EFFECT_HUE_SATURATION, -1},
    {"Color Reduction", EFFECT_COLOR_REDUCTION, -1},
    {"Threshold", EFFECT_THRESHOLD, -1},
    {"Average", EFFECT_AVERAGE, -1},
    {"Guassian Blur", EFFECT_GAUSSIAN_BLUR, -1},
    {"Unsharp Mask", EFFECT_UNSHARP_MASK, -1},
    {"Maximum", EFFECT_MAXIMUM_MINIMUM, 1},
    {"Median", EFFECT_MEDIAN, -1},
    {"Minimum", EFFECT_MAXIMUM_MINIMUM, 0},
    {"Add Noise", EFFECT_ADD_NOISE, -1},
    {"Find Contour", EFFECT_FIND_CONTOUR, -1},
    {"Oil Painting", EFFECT_OIL_PAINTING, -1},
    {"Sketch", EFFECT_SKETCH, -1},
    {"Film Grain", EFFECT_FILM_GRAIN, -1},
    {"Splash", EFFECT_SPLASH, -1},
    {"Melting", EFFECT_MELTING, -1},
    {"Ripple", EFFECT_RIPPLE, -1},
    {"Wrinkle", EFFECT_WRINKLE, -1},
    {"3D Grid", EFFECT_3D_GRID, -1},
    {"Mosaic", EFFECT_MOSAIC, -1},
    {"Emboss", EFFECT_EMBOSS, -1},
    {"MotionBlur", EFFECT_MOTION_BLUR, -1},
    {"Fish Eye", EFFECT_FISHEYE, -1},
    {"Cone", EFFECT_CONE, -1},
    {"Whirlpool", EFFECT_WHIRLPOOL, -1},
    {"Spiral", EFFECT_SPIRAL, -1},
    {"Ribbon", EFFECT_RIBBON, -1},
};
constexpr int kEntryCount = sizeof kEntries / sizeof kEntries[0];
static_assert(kEntryCount == 28, "the browser lists 28 effects");

// The style bits an embedded dialog loses: popup, child, caption, system menu, sizing frame,
// minimise box.
constexpr LONG kEmbeddedStyleMask = 0x3F31FFFF;

// Ends the embedded dialog through its own OK or Cancel, after giving it back its style and
// its parent; nothing when there is no embedded dialog any more.
void Detach(BrowserContext* context, bool ok) {
  HWND dialog = context->embedded;
  context->embedded = nullptr;
  if (!dialog || !IsWindow(dialog)) return;
  ShowWindow(dialog, SW_HIDE);
  SetWindowLongA(dialog, GWL_STYLE, context->savedStyle);
  SetParent(dialog, GetParent(context->browser));
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
}

// Creates the effect's dialog embedded, hides its own buttons and places it in the frame.
void Embed(BrowserContext* context, int effectId) {
  const INT_PTR created = RunEffectDialog(effectId, context->browser, context->image, context->record, 0);
  HWND dialog = created == kNoDialog ? nullptr : reinterpret_cast<HWND>(created);
  if (!dialog || !IsWindow(dialog)) return;
  context->embedded = dialog;
  for (int id : {IDOK, IDCANCEL}) {
    SetDlgItemTextA(dialog, id, "");
    ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
  }
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  RECT window;
  GetWindowRect(dialog, &window);
  context->savedStyle = GetWindowLongA(dialog, GWL_STYLE);
  SetWindowLongA(dialog, GWL_STYLE, (context->savedStyle & kEmbeddedStyleMask) | WS_CHILD);
  // Tab and the arrow keys of the browser's loop walk into the embedded dialog's controls.
  SetWindowLongA(dialog, GWL_EXSTYLE, GetWindowLongA(dialog, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  SetParent(dialog, context->browser);
  RECT frame;
  GetWindowRect(GetDlgItem(context->browser, IDC_BROWSER_FRAME), &frame);
  MapWindowPoints(nullptr, context->browser, reinterpret_cast<POINT*>(&frame), 2);
  // At the top of the z-order: its controls come first in the browser's keyboard order.
  SetWindowPos(dialog, nullptr, frame.left + 3, frame.top + 10, window.right - window.left,
               window.bottom - window.top - caption, SWP_FRAMECHANGED);
  ShowWindow(dialog, SW_SHOWNORMAL);
  SetFocus(context->browser);
}

void SelectionChanged(BrowserContext* context) {
  HWND list = GetDlgItem(context->browser, IDC_BROWSER_LIST);
  const int index = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= kEntryCount) return;
  const BrowserEntry& entry = kEntries[index];
  SetWindowTextA(list, entry.name);
  if (!context->image) return;
  Detach(context, false);
  *context->effectId = entry.effectId;
  // "Maximum" and "Minimum" share effect 20: the entry decides the filter's kind, so that the
  // dialog's title, its preview and the result follow the user's choice.
  if (entry.maximum >= 0) static_cast<FilterSizeParams*>(context->record)->maximum = entry.maximum;
  Embed(context, entry.effectId);
}

INT_PTR InitBrowser(HWND browser, BrowserContext* context) {
  if (!context) return FALSE;
  SetWindowLongPtrA(browser, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  context->browser = browser;
  HWND list = GetDlgItem(browser, IDC_BROWSER_LIST);
  for (const BrowserEntry& entry : kEntries) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name));
  SendMessageA(list, CB_SETCURSEL, 0, 0);
  // The first effect is embedded once the dialog is up.
  PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDC_BROWSER_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return TRUE;
}

INT_PTR BrowserMessage(HWND browser, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitBrowser(browser, reinterpret_cast<BrowserContext*>(lParam));
  if (message != WM_COMMAND) return FALSE;
  auto* context = reinterpret_cast<BrowserContext*>(GetWindowLongPtrA(browser, GWLP_USERDATA));
  if (!context) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_BROWSER_LIST:
      if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
      SelectionChanged(context);
      return TRUE;
    case IDOK:
    case IDCANCEL: {
      const bool ok = LOWORD(wParam) == IDOK;
      Detach(context, ok);
      EndDialog(browser, ok ? 1 : 0);
      return TRUE;
    }
  }
  return FALSE;
}

INT_PTR CALLBACK BrowserProc(HWND browser, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<INT_PTR>(FALSE, [&] { return BrowserMessage(browser, message, wParam, lParam); });
}

}  // namespace

extern "C" int WINAPI GetFxBrowserParam(HWND parent, void* hostImage, int* effectId, void* record, int) {
  // Without the caller's variable or record there is nothing to fill: the browser cannot run.
  if (!effectId || !record) return -1;
  BrowserContext context{};
  context.image = static_cast<HGLOBAL>(hostImage);
  context.effectId = effectId;
  context.record = record;
  // An allocation failure on the way counts as a browser that could not be created.
  return AtBoundary(-1, [&] {
    return static_cast<int>(DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_EFFECT_BROWSER), parent,
                                            BrowserProc, reinterpret_cast<LPARAM>(&context)));
  });
}
