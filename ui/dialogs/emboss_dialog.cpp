// Emboss (effect 54): the direction buttons, the mode and the depth.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = EmbossParams;

int rememberedButton = IDC_DIRECTION_8;  // the current button at the last OK
constexpr DirectionSpec kDirections = {FX_FIELD(Record, direction), &rememberedButton};

constexpr DialogDescription kEmboss = {
    IDD_EMBOSS,
    {{FX_FIELD(Record, direction), 5}, {FX_FIELD(Record, mode), 3}, {FX_FIELD(Record, depth), 2},
     {FX_FIELD(Record, baseColor), 0}}, 4,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SIZE_SLIDER, IDC_SIZE_LABEL, {1, 10, 2}, kFromRecord, FX_FIELD(Record, depth), 1, 0, 0, nullptr, true},
    },
    // "Original", "Midtone", "Gray", "Active"; "Gray" at start
    {{IDC_EMBOSS_ORIGINAL, IDC_EMBOSS_ACTIVE, IDC_EMBOSS_GRAY, FX_FIELD(Record, mode), {1, 2, 3, 4}, kKeepField}},
    nullptr,
    true,
    &kDirections,
    {},
};

}  // namespace

INT_PTR OpenEmbossDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kEmboss, effectId, parent, image, record, modal);
}
