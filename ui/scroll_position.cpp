#include "ui/scroll_position.h"

#include <algorithm>

int ScrollPosition(int code, int position, int thumb, const SliderRange& range) {
  int next;
  switch (code) {
    case 0: next = position - 1; break;           // line left
    case 1: next = position + 1; break;           // line right
    case 2: next = position - range.page; break;  // page left
    case 3: next = position + range.page; break;  // page right
    case 4:                                       // thumb position
    case 5: next = thumb; break;                  // thumb track
    case 6: next = range.minimum; break;          // left end
    case 7: next = range.maximum; break;          // right end
    default: return kNoScroll;
  }
  return std::clamp(next, range.minimum, range.maximum);
}
