// Threshold (effect 7): one level, back at 128 at every opening.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = ThresholdParams;

constexpr DialogDescription kThreshold = {
    IDD_THRESHOLD,
    {}, 0,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SLIDER_1, IDC_LABEL_1, {0, 255, 16}, 128, FX_FIELD(Record, level), 1, 0, 0, "%d", true},
    },
    {},
    nullptr,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenThresholdDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kThreshold, effectId, parent, image, record, modal);
}
