// Unsharp mask (effect 18): square size, effect and threshold, reset at every opening.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = UnsharpMaskParams;

constexpr DialogDescription kUnsharpMask = {
    IDD_UNSHARP_MASK,
    {}, 0,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_UNSHARP_SIZE, IDC_UNSHARP_SIZE_LABEL, {2, 32, 4}, 3, FX_FIELD(Record, squareSize), 1, 0, 0, "%d", true},
        {IDC_UNSHARP_EFFECT, IDC_UNSHARP_EFFECT_LABEL, {1, 100, 10}, 100, FX_FIELD(Record, effect), 1, 0, 0, "%d",
         true},
        {IDC_UNSHARP_THRESHOLD, IDC_UNSHARP_THRESHOLD_LABEL, {0, 255, 16}, 0, FX_FIELD(Record, threshold), 1, 0, 0,
         "%d", true},
    },
    {},
    nullptr,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenUnsharpMaskDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kUnsharpMask, effectId, parent, image, record, modal);
}
