// The filter-size dialog of average (8), Gaussian blur (17), maximum and minimum (20) and
// median (21): one square size, titled after the effect.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = FilterSizeParams;

// Effect 20 is "Maximum" or "Minimum" by the record's maximum field, which the caller sets.
int FilterTitle(int effectId, const void* record) {
  switch (effectId) {
    case EFFECT_AVERAGE: return IDS_AVERAGE;
    case EFFECT_GAUSSIAN_BLUR: return IDS_GAUSSIAN_BLUR;
    case EFFECT_MEDIAN: return IDS_MEDIAN;
    case EFFECT_MAXIMUM_MINIMUM: return static_cast<const Record*>(record)->maximum ? IDS_MAXIMUM : IDS_MINIMUM;
    default: return 0;
  }
}

constexpr DialogDescription kFilterSize = {
    IDD_FILTER_SIZE,
    {}, 0,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SIZE_SLIDER, IDC_SIZE_LABEL, {2, 32, 4}, 3, FX_FIELD(Record, squareSize), 1, 0, 0, nullptr, true},
    },
    {},
    nullptr,
    true,
    nullptr,
    {FilterTitle, nullptr, nullptr, nullptr},
};

}  // namespace

INT_PTR OpenFilterSizeDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kFilterSize, effectId, parent, image, record, modal);
}
