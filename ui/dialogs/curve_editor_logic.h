// The value logic of the Magic Mirror curve editor: where a curve entry is drawn, which entry
// and level a mouse point names, how a drag fills the curve, and the nine shaping functions.
#ifndef FXUI_UI_DIALOGS_CURVE_EDITOR_LOGIC_H
#define FXUI_UI_DIALOGS_CURVE_EDITOR_LOGIC_H

#include <cstdint>

// The drawing area inside the editor's one-pixel frame: client width and height minus 2.
struct CurveGeometry {
  int w;
  int h;
};
CurveGeometry CurveGeometryOf(int clientWidth, int clientHeight);

// The client point of input level `input` and output level `output`.
int CurvePointX(const CurveGeometry& g, int input);
int CurvePointY(const CurveGeometry& g, int output);

// A curve point: input level (the entry) and output level (its value).
struct CurvePoint {
  int input;
  int output;
};

// Maps a mouse point (the signed 16-bit coordinates of the message) to the curve; false for a
// point outside 1 <= x <= w + 1, 1 <= y <= h + 1.
bool MouseToCurve(const CurveGeometry& g, int x, int y, CurvePoint* point);

// One edit: on a press, or at the last point's input, sets the single entry; otherwise fills
// the run from `last` to `point` by linear interpolation, truncating toward zero.
void EditCurve(uint8_t* curve, const CurvePoint& last, const CurvePoint& point, bool press);

// The shaping functions of the "O&perate" button, in list order.
enum CurveFunction {
  kCurveCircle,
  kCurveExponent,
  kCurveLogarithm,
  kCurveSine,
  kCurveArcsine,
  kCurveSquare,
  kCurveSquareroot,
  kCurveReset,
  kCurveSmooth,
  kCurveFunctionCount
};

// Applies function `index` to every entry of the 256-entry curve in place; an index outside
// the list changes nothing.
void ApplyCurveFunction(uint8_t* curve, int index);

#endif
