// Mosaic (effect 52): tile width and height; with "Square" on, the two move together. The
// "Square" state is remembered from one opening to the next, also after Cancel.
#include <algorithm>

#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = MosaicParams;

constexpr SliderRange kRange = {2, 32, 5};

bool squareState = true;  // the "Square" check box, kept between openings

void ShowSizes(HWND dialog, const Record& record) {
  SetScrollPos(GetDlgItem(dialog, IDC_MOSAIC_WIDTH), SB_CTL, record.width, TRUE);
  SetScrollPos(GetDlgItem(dialog, IDC_MOSAIC_HEIGHT), SB_CTL, record.height, TRUE);
  SetDlgItemInt(dialog, IDC_MOSAIC_WIDTH_LABEL, static_cast<UINT>(record.width), TRUE);
  SetDlgItemInt(dialog, IDC_MOSAIC_HEIGHT_LABEL, static_cast<UINT>(record.height), TRUE);
}

void StartSquare(HWND dialog, TableDialog&) { CheckDlgButton(dialog, IDC_MOSAIC_SQUARE, squareState); }

// The values live in the record. A line, page or thumb move changes the slider's value and,
// with "Square" on, the other one the same way (the thumb copies the value across).
bool ScrollLinked(HWND dialog, TableDialog& state, int code, int thumb, HWND bar) {
  auto& record = *static_cast<Record*>(state.record);
  const bool width = GetWindowLongA(bar, GWL_ID) == IDC_MOSAIC_WIDTH;
  int& value = width ? record.width : record.height;
  int& other = width ? record.height : record.width;
  int step;
  switch (code) {
    case SB_LINELEFT: step = -1; break;
    case SB_LINERIGHT: step = 1; break;
    case SB_PAGELEFT: step = -kRange.page; break;
    case SB_PAGERIGHT: step = kRange.page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: step = thumb - value; break;
    default: return false;  // the ends are not handled here
  }
  value += step;
  if (squareState) other = code == SB_THUMBPOSITION || code == SB_THUMBTRACK ? value : other + step;
  value = std::clamp(value, kRange.minimum, kRange.maximum);
  other = std::clamp(other, kRange.minimum, kRange.maximum);
  ShowSizes(dialog, record);
  return true;
}

// "Square" toggles the remembered state; turning it on makes the height the width.
bool ClickSquare(HWND dialog, TableDialog& state, int id) {
  if (id != IDC_MOSAIC_SQUARE) return false;
  squareState = !squareState;
  CheckDlgButton(dialog, IDC_MOSAIC_SQUARE, squareState);
  if (!squareState) return false;
  auto& record = *static_cast<Record*>(state.record);
  record.height = record.width;
  ShowSizes(dialog, record);
  return true;
}

constexpr DialogDescription kMosaic = {
    IDD_MOSAIC,
    {{FX_FIELD(Record, width), 5}, {FX_FIELD(Record, height), 5}}, 2,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_MOSAIC_WIDTH, IDC_MOSAIC_WIDTH_LABEL, kRange, kFromRecord, FX_FIELD(Record, width), 1, 0, 0, nullptr,
         true},
        {IDC_MOSAIC_HEIGHT, IDC_MOSAIC_HEIGHT_LABEL, kRange, kFromRecord, FX_FIELD(Record, height), 1, 0, 0, nullptr,
         true},
    },
    {},
    nullptr,
    true,
    nullptr,
    {nullptr, StartSquare, ScrollLinked, ClickSquare},
};

}  // namespace

INT_PTR OpenMosaicDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kMosaic, effectId, parent, image, record, modal);
}
