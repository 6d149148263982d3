// Find contour (effect 22): the threshold and the channel group.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = FindContourParams;

constexpr DialogDescription kFindContour = {
    IDD_FIND_CONTOUR,
    {{FX_FIELD(Record, enabled), 1}, {FX_FIELD(Record, threshold), 128}}, 2,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_CONTOUR_SLIDER, IDC_CONTOUR_LABEL, {1, 254, 16}, kFromRecord, FX_FIELD(Record, threshold), 1, 0, 0,
         nullptr, true},
    },
    {{IDC_CHANNEL_RGB, IDC_CHANNEL_B, IDC_CHANNEL_RGB, FX_FIELD(Record, channel), {0, 1, 2, 3}, kKeepField}},
    ApplyGrayLayout,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenFindContourDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kFindContour, effectId, parent, image, record, modal);
}
