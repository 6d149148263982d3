#include "ui/dialog_dispatcher.h"

#include "fxui.h"
#include "platform/boundary.h"
#include "ui/dialogs/dialogs.h"

namespace {

struct DialogRow {
  int firstId;  // the identifiers this dialog serves, inclusive
  int lastId;
  DialogOpener open;
};

// Each dialog joins this table with its opener; an identifier without a row has no dialog.
constexpr DialogRow kDialogs[] = {
    //  identifiers                                            opener
    {EFFECT_BRIGHTNESS_CONTRAST, EFFECT_BRIGHTNESS_CONTRAST, OpenBrightnessContrastDialog},
    {EFFECT_MAGIC_MIRROR, EFFECT_MAGIC_MIRROR, OpenMagicMirrorDialog},
    {EFFECT_USER_FILTER, EFFECT_USER_FILTER, OpenUserFilterDialog},
    {EFFECT_TONE_ADJUSTMENT, EFFECT_TONE_ADJUSTMENT, OpenToneAdjustmentDialog},
    {EFFECT_HUE_SATURATION, EFFECT_HUE_SATURATION, OpenHueSaturationDialog},
    {EFFECT_COLOR_REDUCTION, EFFECT_COLOR_REDUCTION, OpenColorReductionDialog},
    {EFFECT_THRESHOLD, EFFECT_THRESHOLD, OpenThresholdDialog},
    {EFFECT_AVERAGE, EFFECT_AVERAGE, OpenFilterSizeDialog},
    {EFFECT_GAUSSIAN_BLUR, EFFECT_GAUSSIAN_BLUR, OpenFilterSizeDialog},
    {EFFECT_UNSHARP_MASK, EFFECT_UNSHARP_MASK, OpenUnsharpMaskDialog},
    {EFFECT_MAXIMUM_MINIMUM, EFFECT_MEDIAN, OpenFilterSizeDialog},
    {EFFECT_FIND_CONTOUR, EFFECT_FIND_CONTOUR, OpenFindContourDialog},
    {EFFECT_SKETCH, EFFECT_SKETCH, OpenSketchDialog},
    {EFFECT_AUTO_ENHANCE, EFFECT_FISHEYE, OpenIntensityDialog},
    {EFFECT_CONE, EFFECT_SPIRAL, OpenIntensityDialog},
    {EFFECT_3D_GRID, EFFECT_3D_GRID, OpenGridDialog},
    {EFFECT_MOSAIC, EFFECT_MOSAIC, OpenMosaicDialog},
    {EFFECT_MOTION_BLUR, EFFECT_MOTION_BLUR, OpenMotionBlurDialog},
    {EFFECT_EMBOSS, EFFECT_EMBOSS, OpenEmbossDialog},
    {EFFECT_RIBBON, EFFECT_RIBBON, OpenRibbonDialog},
};

const DialogRow* FindDialog(int effectId) {
  for (const DialogRow& row : kDialogs) {
    if (effectId >= row.firstId && effectId <= row.lastId) return &row;
  }
  return nullptr;
}

}  // namespace

INT_PTR RunEffectDialog(int effectId, HWND parent, void* hostImage, void* record, int modal) {
  const DialogRow* row = FindDialog(effectId);
  // Without a record there is nothing for the dialog to fill: it cannot be shown.
  if (!row || !record) return kNoDialog;
  const INT_PTR result = row->open(effectId, parent, static_cast<HGLOBAL>(hostImage), record, modal);
  if (!modal) return result;
  return result == 1 || result == 0 ? result : kNoDialog;
}

// An allocation failure on the way counts as a dialog that could not be shown.
extern "C" int WINAPI GetFxParam(int effectId, HWND parent, void* hostImage, void* record) {
  return AtBoundary(kNoDialog,
                    [&] { return static_cast<int>(RunEffectDialog(effectId, parent, hostImage, record, 1)); });
}
