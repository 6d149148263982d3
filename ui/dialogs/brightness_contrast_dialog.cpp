// Brightness and contrast (effect 1): two sliders around 128 and the channel group.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = BrightnessContrastParams;

constexpr DialogDescription kBrightnessContrast = {
    IDD_BRIGHTNESS_CONTRAST,
    {}, 0,  // the opener writes nothing
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SLIDER_1, IDC_LABEL_1, {0, 255, 16}, 128, FX_FIELD(Record, brightness), 1, -128, -128, "%d", false},
        {IDC_SLIDER_2, IDC_LABEL_2, {0, 255, 16}, 128, FX_FIELD(Record, contrast), 1, -128, -128, "%d", false},
    },
    {{IDC_CHANNEL_RGB, IDC_CHANNEL_B, IDC_CHANNEL_RGB, FX_FIELD(Record, channel), {0, 1, 2, 3}, kKeepField}},
    ApplyGrayLayout,
    false,  // OK does not write again: the record is always current
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenBrightnessContrastDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kBrightnessContrast, effectId, parent, image, record, modal);
}
