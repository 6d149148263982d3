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
  enum Kind { kScroll, kClick, kType, kSelect, kText, kEnabled, kChecked, kPosition, kField, kFocus, kInverted, kSelected, kRefreshes, kAfter } kind;
  int id;            // control; 0 for the dialog itself
  int value;         // scroll code, expected state or position, record word
  int extra;         // thumb position, expected record value
  const char* text;  // expected window text
};

// What the user does.
Step Scroll(int bar, int code, int thumb = 0);  // WM_HSCROLL from scroll bar `bar`
Step Click(int button);                         // BM_CLICK; IDOK and IDCANCEL end the dialog
Step Type(int box, const char* text);           // an edit box's text replaced (skip the test unless EditTextWorks())
Step Select(int list, int index);               // a combo box's selection set (needs ComboBoxesWork())
// What the test expects at that point.
Step Text(int id, const char* text);  // window text; id 0: the title
Step Enabled(int id, bool enabled);
Step Checked(int id, bool checked);
Step Position(int bar, int position);  // scroll bar position
Step Field(int word, int value);       // the record's 32-bit word `word`
Step Focus(int id);                    // the control with the keyboard focus
Step Inverted(int button, bool inverted);  // a direction button drawn inverted (needs pixels)
Step Selected(int list, int index);        // a combo box's selection (needs ComboBoxesWork())
Step Refreshes(int count);                 // refresh requests the After preview got since the last look
// A timer tick renders the After preview, which must then equal the effect with the record's
// values applied to the Before preview's picture, and differ from that picture.
Step AfterShowsEffect();

// The 96 x 72 pictures an opening can show.
enum Picture {
  kColour,  // blue 2x, green 3y, red xy mod 256
  kGrey,    // (5x + 3y) mod 256
  kRamps,   // blue 20 .. 200 and red 40 .. 230 across, green 60 .. 160 up
};

struct Opening {
  int effect;
  int picture;                  // a Picture
  std::vector<int32_t> record;  // what the host passes (the rest of the block is zero)
  std::vector<Step> steps;
  int result;                   // GetFxParam's answer
  std::vector<int32_t> expected;  // the record's first words afterwards
};

// The pixels of a preview control's entry 0; empty when it has none.
std::vector<uint8_t> PreviewPixels(HWND dialog, int id);

// Plays the openings in order, each in a new thread (so that the random effects' previews
// start from the same generator state as a fresh ApplyEffect), and reports every mismatch.
void RunOpenings(const std::vector<Opening>& openings);

#endif
