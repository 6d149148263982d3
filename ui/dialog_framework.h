// What every effect dialog shares: its context, the preview hookup, the slider handling, the
// refresh request, the gray test and the modal or embedded way of running.
#ifndef FXUI_UI_DIALOG_FRAMEWORK_H
#define FXUI_UI_DIALOG_FRAMEWORK_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "ui/scroll_position.h"

// The block an opener allocates and the dialog frees when its window is destroyed.
struct DialogContext {
  HGLOBAL image;  // the host's HostImage
  int modal;      // 1 modal, 0 embedded in the browser
  void* record;   // the host's parameter record
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
// written back and returned; kNoScroll when the message moves nothing (SB_ENDSCROLL and above).
int HandleSliderScroll(WPARAM wParam, LPARAM lParam, const SliderRange& range);
// Sets a slider's range and position.
void InitSlider(HWND dialog, int id, const SliderRange& range, int position);
// Shows a number in a label with wsprintfA and `format`.
void SetLabelNumber(HWND dialog, int id, const char* format, int value);

// The channel radio group "RGB", "R", "G", "B": the index of the first checked button, or
// `keep` when none is; the gray layout renames "RGB" and disables the others.
int CheckedChannel(HWND dialog, int keep);
void ApplyGrayLayout(HWND dialog);

// ---- Dialogs described by a table -----------------------------------------------------------
// Most effect dialogs differ only in their controls, ranges, start values and record fields:
// each is a const DialogDescription read by one shared dialog procedure, with small named
// hooks for what is a dialog's own.

constexpr int kFromRecord = -0x10000;  // start position: the record's field as the opener left it
constexpr int kKeepField = -0x10001;   // radio group with nothing checked: the field keeps its value

// The word index of a record field, e.g. FX_FIELD(MosaicParams, height) is 1.
#define FX_FIELD(Record, member) static_cast<int>(offsetof(Record, member) / sizeof(int32_t))

// One record word and its value (what an opener writes).
struct FieldValue {
  int field;  // index of the 32-bit word in the record
  int value;
};

// A horizontal scroll bar with its value label. The record gets sign * position + offset; the
// label shows position + labelOffset.
struct SliderSpec {
  int bar;             // scroll bar identifier; 0 ends the list
  int label;           // value label identifier
  SliderRange range;   // minimum, maximum, page step
  int start;           // position at every opening, or kFromRecord
  int field;           // record word written
  int sign;            // +1 or -1
  int offset;
  int labelOffset;
  const char* format;  // wsprintfA format of the label, or null for SetDlgItemInt
  bool labelAtStart;   // false: the template's text stays until the first move
};

// Radio buttons with consecutive identifiers writing one record word: the value of the first
// checked button, or `none` when no button is checked.
struct RadioGroupSpec {
  int first;      // first button; 0 ends the list
  int last;       // last button
  int start;      // button checked at every opening
  int field;      // record word written
  int values[4];  // value of each button, first to last
  int none;       // value when none is checked, or kKeepField
};

struct TableDialog;
// What a dialog does beyond its table; every hook may be null.
struct DialogHooks {
  // String identifier of the title set at start (0: the template's title stays).
  int (*title)(int effectId, const void* record);
  // Runs at start after the table's controls are set, before the record is written.
  void (*start)(HWND dialog, TableDialog& state);
  // Takes a WM_HSCROLL instead of the shared slider handling; true when the record must be
  // written and the preview refreshed.
  bool (*scroll)(HWND dialog, TableDialog& state, int code, int thumb, HWND bar);
  // A WM_COMMAND that the table does not know; true when the record must be written and
  // the preview refreshed.
  bool (*command)(HWND dialog, TableDialog& state, int id);
};

// The eight direction buttons: the record word of the direction and the button remembered
// from one opening to the next (updated on OK only).
struct DirectionSpec {
  int field;
  int* remembered;
};

struct DialogDescription {
  int templateId;
  FieldValue defaults[4];  // written by the opener over what the host passed
  int defaultCount;
  SliderSpec sliders[3];
  RadioGroupSpec radios[3];
  void (*grayLayout)(HWND dialog);  // applied for a grey picture, or null
  bool okWrites;                    // OK writes the record again before ending
  const DirectionSpec* directions;  // or null
  DialogHooks hooks;
};

// A table dialog while it is open: the context with the effect identifier (the dialogs that
// serve several effects read it), allocated by the opener and freed at WM_DESTROY.
struct TableDialog {
  HGLOBAL image;
  int modal;
  int effectId;
  void* record;
  const DialogDescription* description;
  int currentDirection;  // the current direction button, 0 without direction buttons
};

// The opener of every table dialog: allocates the state (0 when it cannot), writes the
// defaults into the record and runs the template modal or embedded.
INT_PTR OpenTableDialog(const DialogDescription& description, int effectId, HWND parent, HGLOBAL image,
                        void* record, int modal);
// Word `field` of a record.
int32_t& RecordField(void* record, int field);
// Sets a label to a number with SetDlgItemInt (null format) or wsprintfA.
void SetSliderLabel(HWND dialog, const SliderSpec& slider, int position);

// The gray rules of the channel dialogs: ApplyGrayLayout above, or all four buttons disabled
// and none checked.
void ClearChannels(HWND dialog);

#endif
