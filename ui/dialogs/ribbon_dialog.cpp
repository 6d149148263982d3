// Ribbon (effect 65): frequency and amplitude, both back at 25 at every opening.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = RibbonParams;

constexpr DialogDescription kRibbon = {
    IDD_RIBBON,
    {{FX_FIELD(Record, fillColor), 0}}, 1,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_RIBBON_FREQUENCY, IDC_RIBBON_FREQUENCY_LABEL, {0, 100, 10}, 25, FX_FIELD(Record, frequency), 1, 0, 0, "%d",
         true},
        {IDC_RIBBON_AMPLITUDE, IDC_RIBBON_AMPLITUDE_LABEL, {0, 100, 10}, 25, FX_FIELD(Record, amplitude), 1, 0, 0, "%d",
         true},
    },
    {},
    nullptr,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenRibbonDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kRibbon, effectId, parent, image, record, modal);
}
