// One dialog opening as a table: the host's record, the user's steps with the expectations
// between them, GetFxParam's answer and the record afterwards. One runner plays any table.
#ifndef FXUI_TESTS_WIN_DIALOG_STEPS_H
#define FXUI_TESTS_WIN_DIALOG_STEPS_H

#include <cstdint>
#include <vector>

#include <windows.h>

struct PreviewState;
// The state a preview control keeps in its user-data slot.
PreviewState* PreviewOf(HWND dialog, int id);

struct Step {
  enum Kind { kScroll, kClick, kText, kEnabled, kChecked, kPosition, kField, kFocus, kInverted, kAfter } kind;
  int id;            // control; 0 for the dialog itself
  int value;         // scroll code, expected state or position, record word
  int extra;         // thumb position, expected record value
  const char* text;  // expected window text
};

// What the user does.
Step Scroll(int bar, int code, int thumb = 0);  // WM_HSCROLL from scroll bar `bar`
Step Click(int button);                         // BM_CLICK; IDOK and IDCANCEL end the dialog
// What the test expects at that point.
Step Text(int id, const char* text);  // window text; id 0: the title
Step Enabled(int id, bool enabled);
Step Checked(int id, bool checked);
Step Position(int bar, int position);  // scroll bar position
Step Field(int word, int value);       // the record's 32-bit word `word`
Step Focus(int id);                    // the control with the keyboard focus
Step Inverted(int button, bool inverted);  // a direction button drawn inverted (needs pixels)
// A timer tick renders the After preview, which must then equal the effect with the record's
// values applied to the Before preview's picture, and differ from that picture.
Step AfterShowsEffect();

struct Opening {
  int effect;
  bool grey;                    // a grey picture instead of a colour one
  std::vector<int32_t> record;  // what the host passes (the rest of the block is zero)
  std::vector<Step> steps;
  int result;                   // GetFxParam's answer
  std::vector<int32_t> expected;  // the record's first words afterwards
};

// Plays the openings in order, each in a new thread (so that the random effects' previews
// start from the same generator state as a fresh ApplyEffect), and reports every mismatch.
void RunOpenings(const std::vector<Opening>& openings);

#endif
