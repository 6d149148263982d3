#include "ui/dialogs/tone_panel.h"

#include <algorithm>
#include <cmath>

#include "image/dib.h"

namespace {

// The palette index of pixel `x` in a row of 8-, 4- or 1-bit pixels, high bits first.
int PaletteIndex(const uint8_t* row, int x, int bitCount) {
  switch (bitCount) {
    case 8: return row[x];
    case 4: return (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    default: return (row[x / 8] >> (7 - (x & 7))) & 1;
  }
}

void Add(uint32_t* table, int level) {
  if (table) ++table[level];
}

// Adds one pixel, given by its blue, green and red bytes, to the tables.
void CountPixel(const uint8_t* bgr, bool grayMethod, uint32_t* const counts[kToneTableCount]) {
  if (grayMethod) {
    Add(counts[kToneAll], bgr[0]);
    return;
  }
  Add(counts[kToneBlue], bgr[0]);
  Add(counts[kToneGreen], bgr[1]);
  Add(counts[kToneRed], bgr[2]);
}

}  // namespace

bool CountToneHistograms(const void* bits, size_t available, bool grayMethod, uint32_t* const counts[kToneTableCount]) {
  DibLayout layout;
  if (!ReadDibLayout(bits, available, &layout)) return false;
  const uint8_t* palette = DibPalette(bits);
  const uint8_t* pixels = static_cast<const uint8_t*>(bits) + layout.pixelOffset;
  for (int32_t y = 0; y < layout.height; ++y) {
    const uint8_t* row = pixels + size_t{layout.stride} * y;  // the padding after each row is never read
    for (int32_t x = 0; x < layout.width; ++x) {
      if (layout.bitCount == 24) {
        CountPixel(row + 3 * x, grayMethod, counts);
        continue;
      }
      const int index = PaletteIndex(row, x, layout.bitCount);
      if (static_cast<uint32_t>(index) >= layout.colorCount) continue;
      CountPixel(palette + kPaletteEntrySize * index, grayMethod, counts);
    }
  }
  if (!grayMethod && counts[kToneAll] && counts[kToneRed] && counts[kToneGreen] && counts[kToneBlue]) {
    for (int v = 0; v < kToneLevels; ++v) {
      counts[kToneAll][v] = counts[kToneRed][v] + counts[kToneGreen][v] + counts[kToneBlue][v];
    }
  }
  return true;
}

void ComputeBarTops(const uint32_t counts[kToneLevels], int height, uint16_t tops[kToneLevels]) {
  uint64_t total = 1;
  int spread = 1;
  for (int i = 0; i < kToneLevels; ++i) {
    total += counts[i];
    if (counts[i] > 10) ++spread;
  }
  const int factor = spread * 100 / 256 + 1;
  for (int i = 0; i < kToneLevels; ++i) {
    const double bar = static_cast<double>(counts[i]) * height * factor / static_cast<double>(total);
    const int top = height - static_cast<int>(bar) + 1;
    tops[i] = static_cast<uint16_t>(std::max(top, 4));
  }
}

PanelPlace SquarePanel(int clientWidth, int clientHeight, int left, int top) {
  const int width = clientWidth - 2;
  const int height = clientHeight - 2;
  if (width == height) return PanelPlace{false, left, top, clientWidth};
  const int side = std::min(width, height);
  return PanelPlace{true, (width - side + 1) / 2 + left + 1, (height - side + 1) / 2 + top + 1, side};
}

void DisplayToneCurve(int highlight, int midtone, int shadow, uint8_t curve[kToneLevels]) {
  const int low = std::max(-2 * shadow, 0);
  const int base = std::max(2 * shadow, 0);
  const int high = 255 - std::max(2 * highlight, 0);
  const int cut = std::max(-2 * highlight, 0);
  const double gamma = midtone >= 0 ? 1 - 2 * midtone * 0.0045 : 1 - 2 * midtone * 0.035;
  const int width = std::max(high - low, 1);
  for (int i = 0; i < kToneLevels; ++i) {
    int value;
    if (i <= low) {
      value = 0;
    } else if (i >= high) {
      value = 255;
    } else if (cut + base >= 255) {
      value = base;
    } else {
      const double bent = std::pow(static_cast<double>(i - low) / width, gamma);
      value = base + static_cast<int>(bent * (255 - cut - base) + 0.5);
    }
    curve[i] = static_cast<uint8_t>(std::clamp(value, 0, 255));
  }
}

int BarColumn(int level, int clientWidth) { return level * (clientWidth - 2) / 255 + 1; }

int CurveSteps(int clientWidth) { return clientWidth - 4; }

PanelPoint CurvePoint(const uint8_t curve[kToneLevels], int step, int clientWidth, int clientHeight) {
  const int steps = CurveSteps(clientWidth);
  const int bottom = clientHeight - 2;
  const int level = steps > 0 ? (steps / 2 + 255 * step) / steps : 0;
  return PanelPoint{step + 2, bottom - (curve[std::clamp(level, 0, 255)] * (bottom - 2) + 127) / 255};
}

AutoTone AutoToneFromHistogram(const uint32_t counts[kToneLevels]) {
  int first = 255;
  int last = 0;
  for (int v = 0; v < kToneLevels; ++v) {
    if (!counts[v]) continue;
    first = std::min(first, v);
    last = v;
  }
  return AutoTone{std::min((256 - last) / 2, 100), -std::min((first + 1) / 2, 100)};
}
