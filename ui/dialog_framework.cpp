#include "ui/dialog_framework.h"

#include <new>

#include "fxui.h"
#include "image/host_image.h"
#include "platform/boundary.h"
#include "preview/preview_control.h"
#include "resources/resource.h"
#include "ui/dialogs/direction_buttons.h"
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
  if (position != kNoScroll) SetScrollPos(bar, SB_CTL, position, TRUE);
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

void ClearChannels(HWND dialog) {
  for (int id = IDC_CHANNEL_RGB; id <= IDC_CHANNEL_B; ++id) {
    CheckDlgButton(dialog, id, BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, id), FALSE);
  }
}

// ---- Dialogs described by a table -----------------------------------------------------------

int32_t& RecordField(void* record, int field) { return static_cast<int32_t*>(record)[field]; }

void SetSliderLabel(HWND dialog, const SliderSpec& slider, int position) {
  const int value = position + slider.labelOffset;
  if (slider.format) {
    SetLabelNumber(dialog, slider.label, slider.format, value);
  } else {
    SetDlgItemInt(dialog, slider.label, static_cast<UINT>(value), TRUE);
  }
}

namespace {

// The record from the controls: every slider, every radio group. The direction is written
// only by a direction click.
void WriteTableRecord(HWND dialog, const TableDialog& state) {
  const DialogDescription& d = *state.description;
  for (const SliderSpec& slider : d.sliders) {
    if (!slider.bar) break;
    const int position = GetScrollPos(GetDlgItem(dialog, slider.bar), SB_CTL);
    RecordField(state.record, slider.field) = slider.sign * position + slider.offset;
  }
  for (const RadioGroupSpec& group : d.radios) {
    if (!group.first) break;
    int value = group.none;
    for (int id = group.first; id <= group.last; ++id) {
      if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
        value = group.values[id - group.first];
        break;
      }
    }
    if (value != kKeepField) RecordField(state.record, group.field) = value;
  }
}

void RecordChanged(HWND dialog, const TableDialog& state) {
  WriteTableRecord(dialog, state);
  SendRefreshRequest(dialog, state.record);
}

INT_PTR StartTableDialog(HWND dialog, TableDialog* state) {
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  const DialogDescription& d = *state->description;
  PreviewHookup(dialog, state->image, state->effectId);
  if (d.hooks.title) {
    char title[256];
    const int string = d.hooks.title(state->effectId, state->record);
    if (LoadStringA(ModuleInstance(), string, title, sizeof title)) SetWindowTextA(dialog, title);
  }
  for (const SliderSpec& slider : d.sliders) {
    if (!slider.bar) break;
    const int position = slider.start == kFromRecord ? RecordField(state->record, slider.field) : slider.start;
    InitSlider(dialog, slider.bar, slider.range, position);
    if (slider.labelAtStart) SetSliderLabel(dialog, slider, position);
  }
  for (const RadioGroupSpec& group : d.radios) {
    if (!group.first) break;
    CheckRadioButton(dialog, group.first, group.last, group.start);
  }
  if (d.grayLayout && IsGrayImage(state->image)) d.grayLayout(dialog);
  if (d.directions) state->currentDirection = *d.directions->remembered;
  if (d.hooks.start) d.hooks.start(dialog, *state);
  RecordChanged(dialog, *state);
  if (state->currentDirection) {  // the current direction button takes the focus
    SetFocus(GetDlgItem(dialog, state->currentDirection));
    return FALSE;
  }
  return state->modal;
}

// The slider a scroll bar belongs to: the one with its identifier, otherwise the last one.
const SliderSpec* FindSlider(const DialogDescription& d, int bar) {
  const SliderSpec* found = nullptr;
  for (const SliderSpec& slider : d.sliders) {
    if (!slider.bar) break;
    found = &slider;
    if (slider.bar == bar) break;
  }
  return found;
}

bool ScrollTableSlider(HWND dialog, TableDialog& state, WPARAM wParam, LPARAM lParam) {
  const int code = LOWORD(wParam);
  if (code >= SB_ENDSCROLL) return false;
  HWND bar = reinterpret_cast<HWND>(lParam);
  const DialogDescription& d = *state.description;
  if (d.hooks.scroll) {
    if (d.hooks.scroll(dialog, state, code, static_cast<short>(HIWORD(wParam)), bar)) RecordChanged(dialog, state);
    return true;
  }
  const SliderSpec* slider = FindSlider(d, GetWindowLongA(bar, GWL_ID));
  if (!slider) return false;
  const int position = HandleSliderScroll(wParam, lParam, slider->range);
  SetSliderLabel(dialog, *slider, position);
  RecordChanged(dialog, state);
  return true;
}

bool IsTableRadioButton(const DialogDescription& d, int id) {
  for (const RadioGroupSpec& group : d.radios) {
    if (!group.first) break;
    if (id >= group.first && id <= group.last) return true;
  }
  return false;
}

bool TableCommand(HWND dialog, TableDialog& state, int id) {
  const DialogDescription& d = *state.description;
  if (id == IDOK) {
    if (d.directions) *d.directions->remembered = state.currentDirection;
    if (d.okWrites) WriteTableRecord(dialog, state);
    EndEffectDialog(dialog, state.modal, 1);
  } else if (id == IDCANCEL) {
    EndEffectDialog(dialog, state.modal, 0);
  } else if (IsTableRadioButton(d, id)) {
    RecordChanged(dialog, state);
  } else if (d.directions && IsDirectionButton(id)) {
    SetCurrentDirection(dialog, &state.currentDirection, id);
    RecordField(state.record, d.directions->field) = DirectionOf(id);
    RecordChanged(dialog, state);
  } else if (d.hooks.command) {
    if (d.hooks.command(dialog, state, id)) RecordChanged(dialog, state);
  } else {
    return false;
  }
  return true;
}

INT_PTR TableDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return StartTableDialog(dialog, reinterpret_cast<TableDialog*>(lParam));
  auto* state = reinterpret_cast<TableDialog*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (!state) return FALSE;
  switch (message) {
    case WM_HSCROLL:
      return ScrollTableSlider(dialog, *state, wParam, lParam);
    case WM_COMMAND:
      return TableCommand(dialog, *state, LOWORD(wParam));
    case WM_DRAWITEM:
      return state->description->directions &&
             DrawDirectionButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), state->currentDirection);
    case WM_DESTROY:
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      delete state;
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK TableDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return AtBoundary<INT_PTR>(FALSE, [&] { return TableDialogMessage(dialog, message, wParam, lParam); });
}

}  // namespace

INT_PTR OpenTableDialog(const DialogDescription& description, int effectId, HWND parent, HGLOBAL image,
                        void* record, int modal) {
  auto* state = new (std::nothrow) TableDialog{image, modal, effectId, record, &description, 0};
  if (!state) return 0;
  for (int i = 0; i < description.defaultCount; ++i) {
    RecordField(record, description.defaults[i].field) = description.defaults[i].value;
  }
  return RunDialogTemplate(description.templateId, TableDialogProc, parent, reinterpret_cast<LPARAM>(state), modal);
}
