// The "superwnd" panel: a framed, light-gray child window whose style bits choose the caption
// font and place, the frame kind and inset, and whether the parent may paint into it.
#ifndef FXUI_UI_DIALOGS_SUPERWND_H
#define FXUI_UI_DIALOGS_SUPERWND_H

#include <windows.h>

constexpr char kSuperWndClass[] = "superwnd";

// Style bits of the panel.
constexpr DWORD kPanelFontMask = 0x03;     // 0 the parent's font, 1 Arial 14, 2 Arial 20, 3 Arial 40
constexpr DWORD kPanelCaptionMask = 0x0C;  // 0 top left, 4 top right, 8 top centre, 12 bottom centre
constexpr DWORD kPanelFrameMask = 0x70;    // 16 ... 112: the seven frame kinds, 0 none
constexpr DWORD kPanelInset = 0x80;        // the frame keeps a margin from the edges
constexpr DWORD kPanelNotify = 0x100;      // the parent gets kPanelMessage after each paint

// Sent to the parent at the end of WM_PAINT when the style has kPanelNotify: wParam the
// panel's control identifier, lParam the device context being painted.
constexpr UINT kPanelMessage = WM_USER + 1000;

// Registers the class in `instance` (false when the system refuses) and removes it again.
bool RegisterSuperWnd(HINSTANCE instance);
void UnregisterSuperWnd(HINSTANCE instance);

#endif
