// The Magic Mirror dialog (effect 56): the curve editor, the nine shaping functions, the
// mapping buttons and Load and Save of Magic Curve files.
#include "ui/dialogs/magic_mirror_dialog.h"

#include <algorithm>
#include <new>

#include "fxui.h"
#include "platform/boundary.h"
#include "resources/resource.h"
#include "ui/dialogs/curve_editor_logic.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/draw_custom.h"
#include "ui/files/effect_files.h"
#include "ui/files/file_dialogs.h"
#include "ui/module.h"

namespace {

constexpr int kMappingButtons[] = {IDC_MAPPING_HORIZONTAL, IDC_MAPPING_VERTICAL, IDC_MAPPING_RADIAL,
                                   IDC_MAPPING_ANGULAR};
constexpr int kMappingCount = 4;
constexpr int kFunctionNameSize = 32;

// Remembered from one opening to the next, through OK only.
int rememberedMapping = IDC_MAPPING_HORIZONTAL;
int rememberedFunction = kCurveCircle;
// The mapping button last made current; a click on it again changes nothing.
int currentMapping = IDC_MAPPING_HORIZONTAL;
// The identity every opening starts from, and the curve being edited; both exist from the
// start of the dialog to its OK or Cancel.
HGLOBAL baseCurve = nullptr;
HGLOBAL workingCurve = nullptr;

const char* AxisLetter(int button) {
  if (button == IDC_MAPPING_HORIZONTAL) return "x";
  if (button == IDC_MAPPING_VERTICAL) return "y";
  return "r";
}

// The index of the first checked mapping button, or `keep` when none is.
int CheckedMapping(HWND dialog, int keep) {
  for (int i = 0; i < kMappingCount; ++i) {
    if (IsDlgButtonChecked(dialog, kMappingButtons[i]) == BST_CHECKED) return i;
  }
  return keep;
}

// A 256-byte block copied from `source`, or the identity when `source` is null.
HGLOBAL NewCurve(HGLOBAL source) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kCurveEntries);
  auto* curve = block ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr;
  if (!curve) return block;
  const auto* from = source ? static_cast<const uint8_t*>(GlobalLock(source)) : nullptr;
  for (int i = 0; i < kCurveEntries; ++i) curve[i] = from ? from[i] : static_cast<uint8_t>(i);
  if (from) GlobalUnlock(source);
  GlobalUnlock(block);
  return block;
}

void ReleaseCurves() {
  if (workingCurve) GlobalFree(workingCurve);
  if (baseCurve) GlobalFree(baseCurve);
  workingCurve = baseCurve = nullptr;
}

void CopyCurve(HGLOBAL block, uint8_t* to) {
  const auto* curve = block ? static_cast<const uint8_t*>(GlobalLock(block)) : nullptr;
  if (!curve) return;
  std::copy(curve, curve + kCurveEntries, to);
  GlobalUnlock(block);
}

void ShowMapping(HWND dialog, int button) {
  CheckRadioButton(dialog, IDC_MAPPING_HORIZONTAL, IDC_MAPPING_ANGULAR, button);
  SetDlgItemTextA(dialog, IDC_CURVE_AXIS, AxisLetter(button));
}

void RedrawEditor(HWND dialog) {
  RedrawWindow(GetDlgItem(dialog, IDC_CURVE_EDITOR), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Refresh(HWND dialog, const DialogContext& context) {
  WriteMagicMirrorRecord(dialog, context);
  SendRefreshRequest(dialog, context.record);
}

INT_PTR InitDialog(HWND dialog, DialogContext* context) {
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  PreviewHookup(dialog, context->image, EFFECT_MAGIC_MIRROR);
  SetWindowLongPtrA(GetDlgItem(dialog, IDC_CURVE_EDITOR), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  currentMapping = rememberedMapping;
  CheckRadioButton(dialog, IDC_MAPPING_HORIZONTAL, IDC_MAPPING_ANGULAR, currentMapping);
  for (int i = 0; i < kCurveFunctionCount; ++i) {
    char name[kFunctionNameSize] = "";
    LoadStringA(ModuleInstance(), IDS_CURVE_CIRCLE + i, name, kFunctionNameSize);
    SendDlgItemMessageA(dialog, IDC_CURVE_FUNCTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  SendDlgItemMessageA(dialog, IDC_CURVE_FUNCTION, CB_SETCURSEL, rememberedFunction, 0);
  SetDlgItemTextA(dialog, IDC_CURVE_AXIS, AxisLetter(currentMapping));
  auto* params = static_cast<MagicMirrorParams*>(context->record);
  if (!baseCurve) baseCurve = NewCurve(nullptr);
  CopyCurve(baseCurve, params->curve);
  if (workingCurve) GlobalFree(workingCurve);  // left over by an embedded dialog never confirmed
  workingCurve = NewCurve(baseCurve);
  params->mapping = 0;
  Refresh(dialog, *context);
  return context->modal;
}

void Operate(HWND dialog, const DialogContext& context) {
  // Without its list (a system that cannot make combo boxes) no function is selected.
  HWND list = GetDlgItem(dialog, IDC_CURVE_FUNCTION);
  const int function = list ? static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)) : -1;
  if (auto* curve = workingCurve ? static_cast<uint8_t*>(GlobalLock(workingCurve)) : nullptr) {
    ApplyCurveFunction(curve, function);
    GlobalUnlock(workingCurve);
  }
  RedrawEditor(dialog);
  if (GetDlgItem(dialog, IDC_PREVIEW_AFTER)) Refresh(dialog, context);
}

// A file's mapping checks its button (one outside 0 to 3 leaves the buttons as they are) and
// its curve bytes replace the working curve; a refused file changes nothing.
void Load(HWND dialog, const DialogContext& context) {
  if (ChooseParameterFile(dialog, ParameterFileDialog::kLoadCurve)) {
    if (auto* curve = workingCurve ? static_cast<uint8_t*>(GlobalLock(workingCurve)) : nullptr) {
      int mapping = -1;
      if (LoadMagicCurve(curve, &mapping) && mapping >= 0 && mapping < kMappingCount) {
        currentMapping = kMappingButtons[mapping];
        ShowMapping(dialog, currentMapping);
      }
      GlobalUnlock(workingCurve);
    }
  }
  RedrawEditor(dialog);
  Refresh(dialog, context);
}

void Save(HWND dialog, const DialogContext& context) {
  if (!ChooseParameterFile(dialog, ParameterFileDialog::kSaveCurve)) return;
  const int mapping = CheckedMapping(dialog, static_cast<const MagicMirrorParams*>(context.record)->mapping);
  if (const auto* curve = workingCurve ? static_cast<const uint8_t*>(GlobalLock(workingCurve)) : nullptr) {
    SaveMagicCurve(curve, mapping);
    GlobalUnlock(workingCurve);
  }
}

void ChooseMapping(HWND dialog, const DialogContext& context, int button) {
  if (button == currentMapping) return;
  currentMapping = button;
  SetDlgItemTextA(dialog, IDC_CURVE_AXIS, AxisLetter(button));
  Refresh(dialog, context);
}

// OK keeps the checked mapping and the selected function for the next opening.
void Confirm(HWND dialog, const DialogContext& context) {
  const int mapping = CheckedMapping(dialog, -1);
  if (mapping >= 0) rememberedMapping = kMappingButtons[mapping];
  if (HWND list = GetDlgItem(dialog, IDC_CURVE_FUNCTION)) {
    const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) rememberedFunction = static_cast<int>(selected);
  }
  ReleaseCurves();
  EndEffectDialog(dialog, context.modal, 1);
}

INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog(dialog, reinterpret_cast<DialogContext*>(lParam));
  auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (!context) return FALSE;
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CURVE_OPERATE:
          Operate(dialog, *context);
          return TRUE;
        case IDC_CURVE_LOAD:
          Load(dialog, *context);
          return TRUE;
        case IDC_CURVE_SAVE:
          Save(dialog, *context);
          return TRUE;
        case IDC_MAPPING_HORIZONTAL:
        case IDC_MAPPING_VERTICAL:
        case IDC_MAPPING_RADIAL:
        case IDC_MAPPING_ANGULAR:
          if (HIWORD(wParam) == BN_CLICKED) ChooseMapping(dialog, *context, LOWORD(wParam));
          return TRUE;
        case IDOK:  // the record is current
          Confirm(dialog, *context);
          return TRUE;
        case IDCANCEL:
          ReleaseCurves();
          EndEffectDialog(dialog, context->modal, 0);
          return TRUE;
      }
      break;
    case WM_DESTROY:
      SetWindowLongPtrA(GetDlgItem(dialog, IDC_CURVE_EDITOR), GWLP_USERDATA, 0);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      delete context;
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK MagicMirrorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<INT_PTR>(FALSE, [&] { return DialogMessage(dialog, message, wParam, lParam); });
}

}  // namespace

HGLOBAL MagicMirrorWorkingCurve() { return workingCurve; }

void WriteMagicMirrorRecord(HWND dialog, const DialogContext& context) {
  auto* params = static_cast<MagicMirrorParams*>(context.record);
  params->mapping = CheckedMapping(dialog, params->mapping);
  CopyCurve(workingCurve, params->curve);
}

INT_PTR OpenMagicMirrorDialog(int, HWND parent, HGLOBAL image, void* record, int modal) {
  auto* context = new (std::nothrow) DialogContext{image, modal, record};
  if (!context) return 0;
  RegisterDrawCustom(ModuleInstance());
  const INT_PTR result =
      RunDialogTemplate(IDD_MAGIC_MIRROR, MagicMirrorProc, parent, reinterpret_cast<LPARAM>(context), modal);
  UnregisterDrawCustom(ModuleInstance());
  return result;
}
