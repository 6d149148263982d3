// What every effect dialog shares: its context, the preview hookup, the slider handling, the
// refresh request, the gray test and the modal or embedded way of running.
#ifndef FXUI_UI_DIALOG_FRAMEWORK_H
#define FXUI_UI_DIALOG_FRAMEWORK_H

#include <windows.h>

#include "ui/scroll_position.h"

// The block an opener allocates and the dialog frees when its window is destroyed.
struct DialogContext {
  HGLOBAL image;  // the host's HostImage
  int modal;      // 1 modal, 0 embedded in the browser
  void* record;   // the host's parameter record
};
// The layout of the dialogs that serve several effects.
struct EffectDialogContext {
  HGLOBAL image;
  int modal;
  int effectId;
  void* record;
};

// Runs a dialog from its template: modal (DialogBoxParamA, its result) or embedded
// (CreateDialogParamA, the new window).
INT_PTR RunDialogTemplate(int templateId, DLGPROC procedure, HWND parent, LPARAM context, int modal);
// Ends a dialog: EndDialog with `result` when modal, DestroyWindow when embedded.
void EndEffectDialog(HWND dialog, int modal, INT_PTR result);

// Attaches the Before and After previews to the picture and the effect and links them.
void PreviewHookup(HWND dialog, HGLOBAL image, int effectId);
// Tells the After preview that the record has changed.
void SendRefreshRequest(HWND dialog, void* record);
// A grey picture (imageType 8); an unlockable block counts as colour.
bool IsGrayImage(HGLOBAL image);

// Applies a WM_HSCROLL to the slider it came from: the new position is clamped to the range,
// written back and returned; -1 when the message moves nothing (SB_ENDSCROLL and above).
int HandleSliderScroll(WPARAM wParam, LPARAM lParam, const SliderRange& range);
// Sets a slider's range and position.
void InitSlider(HWND dialog, int id, const SliderRange& range, int position);
// Shows a number in a label with wsprintfA and `format`.
void SetLabelNumber(HWND dialog, int id, const char* format, int value);

// The channel radio group "RGB", "R", "G", "B": the index of the first checked button, or
// `keep` when none is; the gray layout renames "RGB" and disables the others.
int CheckedChannel(HWND dialog, int keep);
void ApplyGrayLayout(HWND dialog);

#endif
