#include "ui/dialog_framework.h"

#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "ui/module.h"

namespace {

// The geometric distortions show the whole picture: no zoom buttons, no panning.
bool IsWholeImageEffect(int effectId) {
  switch (effectId) {
    case EFFECT_FISHEYE:
    case EFFECT_CONE:
    case EFFECT_WHIRLPOOL:
    case EFFECT_SPIRAL:
    case EFFECT_RIBBON:
      return true;
    default:
      return false;
  }
}

}  // namespace

INT_PTR RunDialogTemplate(int templateId, DLGPROC procedure, HWND parent, LPARAM context, int modal) {
  if (modal) return DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId), parent, procedure, context);
  return reinterpret_cast<INT_PTR>(
      CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId), parent, procedure, context));
}

void EndEffectDialog(HWND dialog, int modal, INT_PTR result) {
  if (modal) {
    EndDialog(dialog, result);
  } else {
    DestroyWindow(dialog);
  }
}

void PreviewHookup(HWND dialog, HGLOBAL image, int effectId) {
  const bool whole = IsWholeImageEffect(effectId);
  PreviewState* before = GetPreviewState(GetDlgItem(dialog, IDC_PREVIEW_BEFORE));
  PreviewState* after = GetPreviewState(GetDlgItem(dialog, IDC_PREVIEW_AFTER));
  if (before) {
    AttachPreview(before, image, 0, effectId);
    if (whole) {
      ShowZoomButtons(before, 0);
      before->panEnabled = 0;
    }
  }
  if (after) {
    ShowZoomButtons(after, 0);
    AttachPreview(after, image, 1, effectId);
    if (whole) after->panEnabled = 0;
  }
  if (before && after) {
    SetPreviewTwin(before, after);
    SetPreviewTwin(after, before);
  }
}

void SendRefreshRequest(HWND dialog, void* record) {
  SendMessageA(GetDlgItem(dialog, IDC_PREVIEW_AFTER), kRefreshRequest, 0, reinterpret_cast<LPARAM>(record));
}

bool IsGrayImage(HGLOBAL image) { return IsGreyHostImage(image) == 1; }

int HandleSliderScroll(WPARAM wParam, LPARAM lParam, const SliderRange& range) {
  HWND bar = reinterpret_cast<HWND>(lParam);
  const int position = ScrollPosition(LOWORD(wParam), GetScrollPos(bar, SB_CTL), static_cast<short>(HIWORD(wParam)),
                                      range);
  if (position >= 0) SetScrollPos(bar, SB_CTL, position, TRUE);
  return position;
}

void InitSlider(HWND dialog, int id, const SliderRange& range, int position) {
  HWND bar = GetDlgItem(dialog, id);
  SetScrollRange(bar, SB_CTL, range.minimum, range.maximum, FALSE);
  SetScrollPos(bar, SB_CTL, position, TRUE);
}

void SetLabelNumber(HWND dialog, int id, const char* format, int value) {
  char text[32];
  wsprintfA(text, format, value);
  SetDlgItemTextA(dialog, id, text);
}

int CheckedChannel(HWND dialog, int keep) {
  for (int i = 0; i < 4; ++i) {
    if (IsDlgButtonChecked(dialog, IDC_CHANNEL_RGB + i) == BST_CHECKED) return i;
  }
  return keep;
}

void ApplyGrayLayout(HWND dialog) {
  char gray[32];
  if (LoadStringA(ModuleInstance(), IDS_GRAY, gray, sizeof gray)) SetDlgItemTextA(dialog, IDC_CHANNEL_RGB, gray);
  for (int id = IDC_CHANNEL_R; id <= IDC_CHANNEL_B; ++id) EnableWindow(GetDlgItem(dialog, id), FALSE);
}
