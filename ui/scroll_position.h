// The slider arithmetic shared by every effect dialog: where a scroll code moves a position.
#ifndef FXUI_UI_SCROLL_POSITION_H
#define FXUI_UI_SCROLL_POSITION_H

#include <climits>

struct SliderRange {
  int minimum;
  int maximum;
  int page;  // the step of a page click
};

// What ScrollPosition answers for a code that moves nothing; no range reaches it, so sliders
// with negative positions work too.
constexpr int kNoScroll = INT_MIN;

// The new position for a scroll code (SB_LINELEFT 0 ... SB_RIGHT 7) from `position`, or the
// thumb position for 4 and 5, clamped to the range; kNoScroll for the codes it does not handle
// (8 and up).
int ScrollPosition(int code, int position, int thumb, const SliderRange& range);

#endif
