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
  enum Kind { kScroll, kClick, kType, kSelect, kMouse, kResize, kFile, kText, kEnabled, kChecked, kPosition,
              kFields, kBytes, kFocus, kInverted, kSelected, kItems, kRefreshes, kZooms, kAfter, kAfterPicture,
              kEffect, kEmbedded } kind;
  int id;                       // control; 0 for the dialog itself
  int value;                    // scroll code, expected state, position or count, first record word or byte
  int extra;                    // thumb position, mouse keys
  const char* text;             // typed or expected text, file path
  const char* title;            // expected title of a file dialog
  std::vector<int32_t> values;  // expected record words or bytes; a mouse position
};

// What the user does. In the effect browser, a control that the browser lacks is looked for in
// the embedded dialog.
Step Scroll(int bar, int code, int thumb = 0);  // WM_HSCROLL from scroll bar `bar`
Step Click(int button);                         // BM_CLICK; IDOK and IDCANCEL end the dialog
Step Type(int box, const char* text);           // an edit box's text replaced (skip the test unless EditTextWorks())
Step Select(int list, int index);               // a combo box's entry chosen (needs ComboBoxesWork())
Step Mouse(int id, UINT message, WPARAM keys, int x, int y);  // a mouse message at a client position
Step Resize(int id, int width, int height);     // a control's client area resized
// Clicks `button` and answers the file dialog it opens with `path` (empty: Cancel), whose
// title must be `title` unless that is null (needs ComboBoxesWork()).
Step File(int button, const char* path, const char* title = nullptr);
// What the test expects at that point.
Step Text(int id, const char* text);  // window text; id 0: the title
Step Enabled(int id, bool enabled);
Step Checked(int id, bool checked);
Step Position(int bar, int position);               // scroll bar position
Step Field(int word, int value);                    // the record's 32-bit word `word`
Step Fields(int first, std::vector<int32_t> words);  // the record's words from `first` on
Step Bytes(int first, std::vector<int32_t> bytes);   // the record's bytes from `first` on
Step Focus(int id);                                 // the control with the keyboard focus
Step Inverted(int button, bool inverted);  // a direction button drawn inverted (needs pixels)
Step Selected(int list, int index);        // a combo box's selection (needs ComboBoxesWork())
Step Items(int list, const char* names);   // a combo box's entries, joined by ", " (needs ComboBoxesWork())
Step Refreshes(int count);                 // refresh requests the After preview got since the last look
// Only the Before preview has zoom buttons, shown when `zoomable`; both previews pan when it is.
Step Zooms(bool zoomable);
// A timer tick renders the After preview, which must then equal the effect with the record's
// values applied to the Before preview's picture, and differ from that picture.
Step AfterShowsEffect();
// A timer tick renders the After preview, which must then show the Before picture unchanged.
Step AfterShowsPicture();
// In the effect browser: the effect identifier given back, and whether an effect dialog is
// embedded (with its previews, its OK button hidden).
Step Effect(int effect);
Step Embedded(bool embedded);

// The 96 x 72 pictures an opening can show.
enum Picture {
  kColour,  // blue 2x, green 3y, red xy mod 256
  kGrey,    // (5x + 3y) mod 256
  kRamps,   // blue 20 .. 200 and red 40 .. 230 across, green 60 .. 160 up
  kNone,    // no picture
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
// The same through the effect browser (GetFxBrowserParam): `effect` is the identifier it gives
// back, which is -5 before the call.
void RunBrowserOpenings(const std::vector<Opening>& openings);
constexpr int kNoEffect = -5;

// The effect dialog embedded in the browser, or null.
HWND EmbeddedDialog(HWND browser);
// Delivers what a dialog posted to itself (the browser: the first embedding).
void Settle();

#endif
