// DrawCustom, the Magic Mirror curve editor: draws the working curve and edits it with the
// mouse; releasing the button writes the dialog's record and refreshes its After preview.
#ifndef FXUI_UI_DIALOGS_DRAW_CUSTOM_H
#define FXUI_UI_DIALOGS_DRAW_CUSTOM_H

#include <windows.h>

constexpr char kDrawCustomClass[] = "DrawCustom";

// Registered by the Magic Mirror opener around its dialog; a failed registration leaves the
// dialog without a working editor.
bool RegisterDrawCustom(HINSTANCE instance);
void UnregisterDrawCustom(HINSTANCE instance);

#endif
