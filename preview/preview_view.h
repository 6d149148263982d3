// What a preview control knows of its view: the picture, the zoom and the visible rectangle,
// and for the After control the effect and its record. The control owns one of these.
#ifndef FXUI_PREVIEW_PREVIEW_VIEW_H
#define FXUI_PREVIEW_PREVIEW_VIEW_H

#include <windows.h>

struct PreviewView {
  HGLOBAL hostImage;     // the host's picture; only read
  int entryIndex;        // entry of the preview image to show and process
  HGLOBAL previewImage;  // the control's preview image, owned (released with YmImageDelete)
  int effectId;          // the dialog's effect
  void* params;          // the dialog's parameter record, borrowed
  int zoom;              // percent
  int viewLeft;          // visible rectangle in pixels of the current entry's image,
  int viewTop;           // rows in stored order (row 0 is the bottom row)
  int viewRight;
  int viewBottom;
  int isAfter;           // 1 for the After control, 0 for Before
};

#endif
