// Hue and saturation (effect 2). The opener writes slider positions, which the dialog turns
// into the record's values when it first writes it.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = HueSaturationParams;

constexpr DialogDescription kHueSaturation = {
    IDD_HUE_SATURATION,
    {{FX_FIELD(Record, hue), 180}, {FX_FIELD(Record, saturation), 100}}, 2,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SLIDER_1, IDC_LABEL_1, {0, 360, 30}, kFromRecord, FX_FIELD(Record, hue), 1, -180, -180, "%d", false},
        // The stored saturation has the opposite sign of the number shown.
        {IDC_SLIDER_2, IDC_LABEL_2, {0, 200, 20}, kFromRecord, FX_FIELD(Record, saturation), -1, 100, -100, "%d%%",
         false},
    },
    {},
    nullptr,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenHueSaturationDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kHueSaturation, effectId, parent, image, record, modal);
}
