// The values behind the Tone Adjustment panel: the histograms of a picture, the bar tops
// they become on the panel, the tone curve the panel shows, where bars and curve are drawn,
// and the "&Auto" rule. Pure arithmetic over locked DIB bytes; no windows.
#ifndef FXUI_UI_DIALOGS_TONE_PANEL_H
#define FXUI_UI_DIALOGS_TONE_PANEL_H

#include <cstddef>
#include <cstdint>

constexpr int kToneLevels = 256;
// The four histograms and bar tables, indexed like the record's channel field.
enum ToneTable : int { kToneAll = 0, kToneRed = 1, kToneGreen = 2, kToneBlue = 3, kToneTableCount = 4 };

// Counts the pixels of the DIB at `bits` (a block of `available` bytes) into the tables of
// `counts` (each 256 entries, added to, never cleared). The gray method counts only into
// kToneAll, by the blue byte of each pixel's palette entry; the colour method counts each
// component into its channel and then sets kToneAll to the sum of the three. Palette pixels
// (8, 4 and 1 bits, the high bits first) whose index lies beyond the palette count nothing.
// A null table is skipped. False for a block that is not a readable DIB.
bool CountToneHistograms(const void* bits, size_t available, bool grayMethod, uint32_t* const counts[kToneTableCount]);

// The bar top of each level for a panel whose inner height (client height less 2) is
// `height`: tall histograms that use many levels are enlarged; tops end no higher than 4.
void ComputeBarTops(const uint32_t counts[kToneLevels], int height, uint16_t tops[kToneLevels]);

// Where the panel goes so that it is square: side min(W, H) of the inner size W x H,
// centred on the old place. `changed` is false when the panel is square already.
struct PanelPlace {
  bool changed;
  int x, y, side;
};
PanelPlace SquarePanel(int clientWidth, int clientHeight, int left, int top);

// The curve the panel shows for the three slider positions (-100 to 100 each). It doubles the
// positions, so it is steeper than the curve the effect applies.
void DisplayToneCurve(int highlight, int midtone, int shadow, uint8_t curve[kToneLevels]);

// Drawing places on a client area of `clientWidth` x `clientHeight`: the column of level
// `level`'s bar, and point `step` (0 to clientWidth - 4) of the curve polyline, which starts
// at (2, clientHeight - 2). CurveSteps is the last step, below 0 when the panel is too narrow.
int BarColumn(int level, int clientWidth);
int CurveSteps(int clientWidth);
struct PanelPoint {
  int x, y;
};
PanelPoint CurvePoint(const uint8_t curve[kToneLevels], int step, int clientWidth, int clientHeight);

// "&Auto": highlight and shadow positions that cut the empty ends of a histogram.
struct AutoTone {
  int highlight;
  int shadow;
};
AutoTone AutoToneFromHistogram(const uint32_t counts[kToneLevels]);

#endif
