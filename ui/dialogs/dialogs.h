// The openers of the effect dialogs, as the dialog dispatcher calls them.
#ifndef FXUI_UI_DIALOGS_DIALOGS_H
#define FXUI_UI_DIALOGS_DIALOGS_H

#include <windows.h>

// Every opener: allocates its context (0 when it cannot), writes the dialog's defaults into
// the record, and runs the dialog modal (1 OK, 0 Cancel, -1 failure) or embedded (the window).
using DialogOpener = INT_PTR (*)(int effectId, HWND parent, HGLOBAL image, void* record, int modal);

INT_PTR OpenBrightnessContrastDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
// Also registers the DrawCustom curve editor class for the dialog's run.
INT_PTR OpenMagicMirrorDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenUserFilterDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
// Also registers the superwnd class for the dialog's run; 0 when it cannot.
INT_PTR OpenToneAdjustmentDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenHueSaturationDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenColorReductionDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenThresholdDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenFilterSizeDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenUnsharpMaskDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenFindContourDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenSketchDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenIntensityDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenGridDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenMosaicDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenMotionBlurDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenEmbossDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);
INT_PTR OpenRibbonDialog(int effectId, HWND parent, HGLOBAL image, void* record, int modal);

#endif
