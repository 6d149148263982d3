// The Before/After preview control (window class previewwnd): a display child that shows the
// control's preview image, a zoom bar with "+" and "-" under it, panning by drag, and for the
// After control the effect run on a one-second timer. (Windows only.)
#ifndef FXUI_PREVIEW_PREVIEW_CONTROL_H
#define FXUI_PREVIEW_PREVIEW_CONTROL_H

#include <windows.h>

#include "preview/preview_view.h"

// Messages a control accepts from outside.
constexpr UINT kRefreshRequest = WM_USER + 0x110;  // lParam: the parameter record
constexpr UINT kPanRequest = WM_USER + 0x111;      // lParam: dx low 16 bits, dy high, signed
constexpr UINT_PTR kPreviewTimer = 100;            // the deferred After rendering, every second

struct PreviewState {
  HWND window;          // the control itself
  int showZoomLabel;    // paint the zoom percentage
  HWND display;         // the SubPreviewWnd child
  PreviewView view;     // picture, preview image, effect, record, zoom and visible rectangle
  int minZoom;          // the fit zoom; the zoom never goes below it
  int ownsState;        // the control made this record and frees it
  int dirty;            // rebuild (and render) at the next timer tick
  PreviewState* twin;   // the linked control of the same dialog, or null
  int showZoomButtons;  // lay out and show "+" and "-"
  int panEnabled;       // dragging pans the view
};

// Registers previewwnd, "KX MiniPreview Window" and SubPreviewWnd for the module; stops at the
// first failure (a class that exists already).
void RegisterPreviewClasses(HINSTANCE instance);

// The state of a preview control window, or null.
PreviewState* GetPreviewState(HWND control);

// Attaches the control to the host's picture: first view, first preview image. Returns 1.
int AttachPreview(PreviewState* state, HGLOBAL hostImage, int isAfter, int effectId);
void SetPreviewTwin(PreviewState* state, PreviewState* twin);
// Shows or hides the zoom buttons and redoes the layout at once.
void ShowZoomButtons(PreviewState* state, int show);

#endif
