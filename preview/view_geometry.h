// The view arithmetic of a preview control: the zoom sequence, the first view, zooming about
// the view's centre and panning, all in pixels of the entry's image (rows in stored order).
#ifndef FXUI_PREVIEW_VIEW_GEOMETRY_H
#define FXUI_PREVIEW_VIEW_GEOMETRY_H

enum class ZoomDirection { kIn, kSnap, kOut };

// The next zoom of the sequence 100 / n (n whole) and the whole values below 9; above 100 the
// steps are whole hundreds. kSnap moves a value onto the sequence.
int ZoomStep(int zoom, ZoomDirection direction);

struct ViewRect {
  int left, top, right, bottom;
  bool operator==(const ViewRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The first view of an imageW x imageH entry in a displayW x displayH display: the snapped
// zoom at which the whole entry fits (at most 100), and the centred rectangle it shows.
struct FirstViewResult {
  int zoom;
  ViewRect view;
};
FirstViewResult FirstView(int imageW, int imageH, int displayW, int displayH);

// The rectangle shown at `zoom` about the centre of `view`, kept inside the image; an empty
// rectangle means the view stays as it is.
ViewRect ZoomedView(const ViewRect& view, int imageW, int imageH, int displayW, int displayH, int zoom);

// The view after a drag of (dx, dy) display pixels at `zoom`: the picture follows the
// pointer, and the view is pushed back inside the image.
ViewRect PannedView(const ViewRect& view, int imageW, int imageH, int zoom, int dx, int dy);

#endif
