// The display child of a preview control (window class SubPreviewWnd): paints the preview
// image composed over the background by the imaging library, and turns drags into pan
// requests to its control. (Windows only.)
#ifndef FXUI_PREVIEW_DISPLAY_WINDOW_H
#define FXUI_PREVIEW_DISPLAY_WINDOW_H

#include <windows.h>

#include "ymdll/ymdll.h"

// The background description every display passes to the imaging library (all 0 at first).
void SetDisplayBackground(const YmBackground& background);
const YmBackground& DisplayBackground();

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
