// What the Magic Mirror dialog shares with its curve editor (the DrawCustom control).
#ifndef FXUI_UI_DIALOGS_MAGIC_MIRROR_DIALOG_H
#define FXUI_UI_DIALOGS_MAGIC_MIRROR_DIALOG_H

#include <windows.h>

#include "ui/dialog_framework.h"

// The working curve being edited (256 bytes in a movable block), null outside the dialog.
HGLOBAL MagicMirrorWorkingCurve();

// Writes the record: the mapping from the checked button (kept when none is checked) and the
// working curve.
void WriteMagicMirrorRecord(HWND dialog, const DialogContext& context);

#endif
