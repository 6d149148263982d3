// The dialog dispatcher: maps an effect identifier to the opener of its dialog.
#ifndef FXUI_UI_DIALOG_DISPATCHER_H
#define FXUI_UI_DIALOG_DISPATCHER_H

#include <windows.h>

// Result when the effect has no dialog or its dialog cannot be shown.
constexpr int kNoDialog = -2;

// Opens the dialog of `effectId`. Modal (flag 1): 1 for OK, 0 for Cancel, -2 otherwise.
// Embedded (flag 0): the opener's own result (the new window, 0, or -2). A null record gives -2.
INT_PTR RunEffectDialog(int effectId, HWND parent, void* hostImage, void* record, int modal);

#endif
