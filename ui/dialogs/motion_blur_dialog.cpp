// Motion blur (effect 53): the direction buttons and the speed.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = MotionBlurParams;

int rememberedButton = IDC_DIRECTION_5;  // the current button at the last OK
constexpr DirectionSpec kDirections = {FX_FIELD(Record, direction), &rememberedButton};

constexpr DialogDescription kMotionBlur = {
    IDD_MOTION_BLUR,
    {{FX_FIELD(Record, direction), 4}, {FX_FIELD(Record, speed), 10}}, 2,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SIZE_SLIDER, IDC_SIZE_LABEL, {2, 32, 5}, kFromRecord, FX_FIELD(Record, speed), 1, 0, 0, nullptr, true},
    },
    {},
    nullptr,
    true,
    &kDirections,
    {},
};

}  // namespace

INT_PTR OpenMotionBlurDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kMotionBlur, effectId, parent, image, record, modal);
}
