// The User's Filter dialog (effect 25): the 5 x 5 kernel grid with its symmetry, scale and
// bias, Reset, and Load and Save of user-defined filter files.
#include <new>

#include "fxui.h"
#include "platform/boundary.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/kernel_mirror.h"
#include "ui/files/effect_files.h"
#include "ui/files/file_dialogs.h"

namespace {

constexpr int kCentreCell = 12;  // row 2, column 2
constexpr int kSymmetryButtons = 4;

// Cleared while the dialog writes cells itself, so that the change notifications of those
// writes are not taken for typing.
bool mirroring = true;

int CellId(int cell) { return IDC_KERNEL_FIRST + cell; }

// A box as a signed number; text that is not a number reads as 0.
int ReadNumber(HWND dialog, int id) {
  BOOL ok = FALSE;
  const int value = static_cast<int>(GetDlgItemInt(dialog, id, &ok, TRUE));
  return ok ? value : 0;
}

// The index of the first checked symmetry button, or kNoSymmetryChecked.
int CheckedSymmetry(HWND dialog) {
  for (int i = 0; i < kSymmetryButtons; ++i) {
    if (IsDlgButtonChecked(dialog, IDC_SYMMETRY_NONE + i) == BST_CHECKED) return i;
  }
  return kNoSymmetryChecked;
}

void CheckSymmetry(HWND dialog, int symmetry) {
  for (int i = 0; i < kSymmetryButtons; ++i) {
    CheckDlgButton(dialog, IDC_SYMMETRY_NONE + i, i == symmetry ? BST_CHECKED : BST_UNCHECKED);
  }
}

void WriteRecord(HWND dialog, const DialogContext& context) {
  auto* params = static_cast<UserFilterParams*>(context.record);
  params->scale = ReadNumber(dialog, IDC_FILTER_SCALE);
  params->bias = ReadNumber(dialog, IDC_FILTER_BIAS);
  const int symmetry = CheckedSymmetry(dialog);
  params->symmetry = symmetry < kSymmetryFourWay ? symmetry : kSymmetryFourWay;
  for (int cell = 0; cell < kKernelCells; ++cell) params->kernel[cell] = ReadNumber(dialog, CellId(cell));
}

void Refresh(HWND dialog, const DialogContext& context) {
  WriteRecord(dialog, context);
  SendRefreshRequest(dialog, context.record);
}

// The identity kernel, scale 1, bias 0 and "No".
void SetIdentity(HWND dialog) {
  mirroring = false;
  for (int cell = 0; cell < kKernelCells; ++cell) SetDlgItemInt(dialog, CellId(cell), cell == kCentreCell, TRUE);
  SetDlgItemInt(dialog, IDC_FILTER_SCALE, 1, TRUE);
  SetDlgItemInt(dialog, IDC_FILTER_BIAS, 0, TRUE);
  mirroring = true;
  CheckSymmetry(dialog, kSymmetryNone);
}

INT_PTR InitDialog(HWND dialog, DialogContext* context) {
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  PreviewHookup(dialog, context->image, EFFECT_USER_FILTER);
  SetIdentity(dialog);
  Refresh(dialog, *context);
  return context->modal;
}

// A weight typed into a cell: copied into its symmetric cells by the checked symmetry.
void CellChanged(HWND dialog, const DialogContext& context, int id, int notification) {
  if (notification == EN_ERRSPACE) MessageBeep(0);
  if (notification != EN_CHANGE || !mirroring) return;
  const int cell = id - IDC_KERNEL_FIRST;
  mirroring = false;
  const int value = ReadNumber(dialog, id);
  KernelCell targets[kMaxMirrorCells];
  const int count = MirrorCells(cell / kKernelSide, cell % kKernelSide, CheckedSymmetry(dialog), targets);
  for (int i = 0; i < count; ++i) {
    SetDlgItemInt(dialog, CellId(kKernelSide * targets[i].row + targets[i].column), value, TRUE);
  }
  mirroring = true;
  Refresh(dialog, context);
}

// Every cell the file sets goes through the change path above, mirrored by the symmetry
// checked at the time; the file's own symmetry is checked last.
void Load(HWND dialog) {
  LoadedUserFilter file;
  if (!ChooseParameterFile(dialog, ParameterFileDialog::kLoadFilter) || !LoadUserFilter(&file)) return;
  for (int cell = 0; cell < kKernelCells; ++cell) {
    if (file.present[cell]) SetDlgItemInt(dialog, CellId(cell), file.kernel[cell], TRUE);
  }
  SetDlgItemInt(dialog, IDC_FILTER_SCALE, file.scale, TRUE);
  SetDlgItemInt(dialog, IDC_FILTER_BIAS, file.bias, TRUE);
  CheckSymmetry(dialog, file.symmetry);
}

void Save(HWND dialog) {
  if (!ChooseParameterFile(dialog, ParameterFileDialog::kSaveFilter)) return;
  UserFilterValues values;
  for (int cell = 0; cell < kKernelCells; ++cell) values.kernel[cell] = ReadNumber(dialog, CellId(cell));
  values.scale = ReadNumber(dialog, IDC_FILTER_SCALE);
  values.bias = ReadNumber(dialog, IDC_FILTER_BIAS);
  values.symmetry = CheckedSymmetry(dialog);
  SaveUserFilter(values);
}

INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog(dialog, reinterpret_cast<DialogContext*>(lParam));
  auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (!context) return FALSE;
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= IDC_KERNEL_FIRST && id <= IDC_KERNEL_LAST) {
        CellChanged(dialog, *context, id, HIWORD(wParam));
        return TRUE;
      }
      switch (id) {
        case IDC_FILTER_SCALE:
        case IDC_FILTER_BIAS:
          if (mirroring) Refresh(dialog, *context);
          return TRUE;
        case IDC_FILTER_RESET:
          SetIdentity(dialog);
          Refresh(dialog, *context);
          return TRUE;
        case IDC_FILTER_LOAD:
          Load(dialog);
          return TRUE;
        case IDC_FILTER_SAVE:
          Save(dialog);
          return TRUE;
        case IDOK:
          WriteRecord(dialog, *context);
          EndEffectDialog(dialog, context->modal, 1);
          return TRUE;
        case IDCANCEL:
          EndEffectDialog(dialog, context->modal, 0);
          return TRUE;
      }
      break;
    }
    case WM_DESTROY:
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      delete context;
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK UserFilterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<INT_PTR>(FALSE, [&] { return DialogMessage(dialog, message, wParam, lParam); });
}

}  // namespace

INT_PTR OpenUserFilterDialog(int, HWND parent, HGLOBAL image, void* record, int modal) {
  auto* context = new (std::nothrow) DialogContext{image, modal, record};
  if (!context) return 0;
  return RunDialogTemplate(IDD_USER_FILTER, UserFilterProc, parent, reinterpret_cast<LPARAM>(context), modal);
}
