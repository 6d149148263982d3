#include "ui/dialogs/curve_editor_logic.h"

#include <cmath>

namespace {

constexpr int kLevels = 256;

uint8_t ClampLevel(double value) {
  const double truncated = std::trunc(value);
  if (!(truncated >= 0)) return 0;  // also NaN
  return truncated > 255 ? 255 : static_cast<uint8_t>(truncated);
}

// The per-entry functions, each from the entry's current value.
double Circle(int v) { return std::sqrt(65025.0 - double(255 - v) * (255 - v)) + 0.5; }
double Exponent(int v) { return (std::exp(v / 255.0) - 1) * 148.40406270962072; }
double Logarithm(int v) { return std::log(v + 1.0) * (255 / std::log(256.0)) + 0.5; }
double Sine(int v) { return std::sin(v * 0.006159985490196079) * 255 + 0.5; }
double Arcsine(int v) { return std::asin(v / 255.0) * 162.33804472292175 + 0.5; }
double Square(int v) { return (v * v + 127) / 255; }
double Squareroot(int v) { return std::sqrt(double(v)) * std::sqrt(255.0) + 0.5; }

using EntryFunction = double (*)(int);
// Indexed by CurveFunction; Reset and Smooth work on the whole curve.
constexpr EntryFunction kEntryFunctions[] = {Circle, Exponent, Logarithm, Sine, Arcsine, Square, Squareroot};

// The moving average: 7 entries wide inside, narrowing to 5, 3 and 2 at the ends, each sum
// rounded by half its divisor (the two-entry ends truncate).
void Smooth(uint8_t* curve) {
  int c[kLevels];
  for (int i = 0; i < kLevels; ++i) c[i] = curve[i];
  auto sum = [&](int from, int to) {
    int total = 0;
    for (int i = from; i <= to; ++i) total += c[i];
    return total;
  };
  curve[0] = static_cast<uint8_t>(sum(0, 1) / 2);
  curve[1] = static_cast<uint8_t>((sum(0, 2) + 1) / 3);
  curve[2] = static_cast<uint8_t>((sum(0, 4) + 2) / 5);
  for (int i = 3; i <= 252; ++i) curve[i] = static_cast<uint8_t>((sum(i - 3, i + 3) + 3) / 7);
  curve[253] = static_cast<uint8_t>((sum(251, 255) + 2) / 5);
  curve[254] = static_cast<uint8_t>((sum(253, 255) + 1) / 3);
  curve[255] = static_cast<uint8_t>(sum(254, 255) / 2);
}

}  // namespace

CurveGeometry CurveGeometryOf(int clientWidth, int clientHeight) { return {clientWidth - 2, clientHeight - 2}; }

int CurvePointX(const CurveGeometry& g, int input) { return input * g.w / 255 + 1; }

int CurvePointY(const CurveGeometry& g, int output) { return g.h - output * g.h / 255 + 1; }

bool MouseToCurve(const CurveGeometry& g, int x, int y, CurvePoint* point) {
  if (g.w <= 0 || g.h <= 0 || x < 1 || x > g.w + 1 || y < 1 || y > g.h + 1) return false;
  point->input = 255 * (x - 1) / g.w;
  point->output = 255 - 255 * (y - 1) / g.h;
  return true;
}

void EditCurve(uint8_t* curve, const CurvePoint& last, const CurvePoint& point, bool press) {
  const int li = last.input, lo = last.output;
  if (press || point.input == li) {
    curve[point.input] = static_cast<uint8_t>(point.output);
  } else if (li < point.input) {
    for (int i = li + 1; i <= point.input; ++i) {
      curve[i] = static_cast<uint8_t>(lo + (i - li) * (point.output - lo) / (point.input - li));
    }
  } else {
    for (int i = point.input; i <= li - 1; ++i) {
      curve[i] = static_cast<uint8_t>(point.output + (i - point.input) * (lo - point.output) / (li - point.input));
    }
  }
}

void ApplyCurveFunction(uint8_t* curve, int index) {
  if (index == kCurveReset) {
    for (int i = 0; i < kLevels; ++i) curve[i] = static_cast<uint8_t>(i);
  } else if (index == kCurveSmooth) {
    Smooth(curve);
  } else if (index >= 0 && index < kCurveReset) {
    for (int i = 0; i < kLevels; ++i) curve[i] = ClampLevel(kEntryFunctions[index](curve[i]));
  }
}
