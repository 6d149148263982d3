// The eight owner-drawn direction buttons of the emboss and motion blur dialogs (4201 to 4208,
// a 3 x 3 square without the centre), each showing an arrow bitmap (4362 to 4369).
#ifndef FXUI_UI_DIALOGS_DIRECTION_BUTTONS_H
#define FXUI_UI_DIALOGS_DIRECTION_BUTTONS_H

#include <windows.h>

bool IsDirectionButton(int id);
// The direction number (1 to 8) of a direction button.
int DirectionOf(int buttonId);

// Draws a direction button on WM_DRAWITEM: light gray, then its arrow, inverted for the
// current button. False when `item` is not a direction button to draw.
bool DrawDirectionButton(const DRAWITEMSTRUCT& item, int currentButton);

// Makes `button` current: the old and the new current button are redrawn.
void SetCurrentDirection(HWND dialog, int* currentButton, int button);

#endif
