// Sketch (effect 32): crayon or pencil, and the threshold.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = SketchParams;

// A grey picture is drawn in pencil only.
void PencilOnly(HWND dialog) {
  CheckRadioButton(dialog, IDC_SKETCH_CRAYON, IDC_SKETCH_PENCIL, IDC_SKETCH_PENCIL);
  EnableWindow(GetDlgItem(dialog, IDC_SKETCH_CRAYON), FALSE);
}

constexpr DialogDescription kSketch = {
    IDD_SKETCH,
    {}, 0,
    {
        // bar, label, range, start, field, record = sign * position + offset, label offset, format, label at start
        {IDC_SLIDER_1, IDC_LABEL_1, {0, 254, 16}, 0, FX_FIELD(Record, threshold), 1, 0, 0, "%d", true},
    },
    // style 1 for "Crayon", otherwise 2
    {{IDC_SKETCH_CRAYON, IDC_SKETCH_PENCIL, IDC_SKETCH_CRAYON, FX_FIELD(Record, style), {1, 2}, 2}},
    PencilOnly,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenSketchDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kSketch, effectId, parent, image, record, modal);
}
