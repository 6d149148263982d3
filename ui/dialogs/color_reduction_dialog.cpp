// Colour reduction (effect 4): levels per channel and the channel group; a grey picture has no
// channel to choose.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = ColorReductionParams;

constexpr DialogDescription kColorReduction = {
    IDD_COLOR_REDUCTION,
    {{FX_FIELD(Record, levels), 8}}, 1,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SLIDER_1, IDC_LABEL_1, {2, 128, 16}, kFromRecord, FX_FIELD(Record, levels), 1, 0, 0, nullptr, true},
    },
    {{IDC_CHANNEL_RGB, IDC_CHANNEL_B, IDC_CHANNEL_RGB, FX_FIELD(Record, channel), {0, 1, 2, 3}, kKeepField}},
    ClearChannels,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenColorReductionDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kColorReduction, effectId, parent, image, record, modal);
}
