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

#endif
