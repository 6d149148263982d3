// 3D grid (effect 51): size, height and shape, three radio groups reset at every opening.
#include "fxui.h"
#include "resources/resource.h"
#include "ui/dialog_framework.h"
#include "ui/dialogs/dialogs.h"

namespace {

using Record = ThreeDGridParams;

constexpr DialogDescription kGrid = {
    IDD_3D_GRID,
    {}, 0,
    {},
    {
        // buttons, checked at start, field, values (first to last), value when none is checked
        {IDC_GRID_LARGE, IDC_GRID_SMALL, IDC_GRID_LARGE, FX_FIELD(Record, size), {3, 1, 2}, 2},
        {IDC_GRID_HIGH, IDC_GRID_LOW, IDC_GRID_HIGH, FX_FIELD(Record, height), {0, 1, 2}, 2},
        {IDC_GRID_REGULAR, IDC_GRID_IRREGULAR, IDC_GRID_REGULAR, FX_FIELD(Record, shape), {0, 1}, 1},
    },
    nullptr,
    true,
    nullptr,
    {},
};

}  // namespace

INT_PTR OpenGridDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal) {
  return OpenTableDialog(kGrid, effectId, parent, image, record, modal);
}
