#include "preview/view_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Steps(int from, ZoomDirection direction, int count) {
  std::vector<int> zooms;
  for (int z = from; count--;) zooms.push_back(z = ZoomStep(z, direction));
  return zooms;
}

TEST(ZoomStep, WalksTheSequenceBothWays) {
  EXPECT_EQ(Steps(100, ZoomDirection::kOut, 13),
            (std::vector<int>{50, 33, 25, 20, 16, 14, 12, 11, 10, 9, 8, 7, 6}));
  EXPECT_EQ(Steps(7, ZoomDirection::kIn, 12), (std::vector<int>{8, 9, 10, 11, 12, 14, 16, 20, 25, 33, 50, 100}));
  EXPECT_EQ(ZoomStep(100, ZoomDirection::kIn), 200);
  EXPECT_EQ(ZoomStep(300, ZoomDirection::kOut), 200);
}

TEST(ZoomStep, SnapsOntoTheSequence) {
  struct Case {
    int zoom, snapped;
  };
  for (const Case& c : {Case{10, 10}, Case{16, 14}, Case{15, 14}, Case{60, 50}, Case{99, 50}, Case{100, 100},
                        Case{7, 6}, Case{1, 1}, Case{250, 200}}) {
    EXPECT_EQ(ZoomStep(c.zoom, ZoomDirection::kSnap), c.snapped) << c.zoom;
  }
}

TEST(FirstView, FitsTheEntryIntoTheDisplay) {
  // zx = 10, zy = 16: zoom 10; the view would be 1000 x 800, capped to the entry.
  const FirstViewResult wide = FirstView(1000, 500, 100, 80);
  EXPECT_EQ(wide.zoom, 10);
  EXPECT_EQ(wide.view, (ViewRect{0, 0, 1000, 500}));
  // Smaller than the display: zoom 100 and the whole entry.
  const FirstViewResult small = FirstView(60, 40, 100, 80);
  EXPECT_EQ(small.zoom, 100);
  EXPECT_EQ(small.view, (ViewRect{0, 0, 60, 40}));
  // zx = 100 x 100 / 300 rounded = 33, zy = 80 x 100 / 120 = 67: 33 snaps to 100 / 4 = 25,
  // which shows 400 x 320, capped to 300 x 120.
  const FirstViewResult tall = FirstView(300, 120, 100, 80);
  EXPECT_EQ(tall.zoom, 25);
  EXPECT_EQ(tall.view, (ViewRect{0, 0, 300, 120}));
}

TEST(ZoomedView, KeepsTheCentreInsideTheImage) {
  // 1000 x 500 at zoom 10 zoomed to 20: 500 x 400 about the centre (500, 250).
  EXPECT_EQ(ZoomedView(ViewRect{0, 0, 1000, 500}, 1000, 500, 100, 80, 20), (ViewRect{250, 50, 750, 450}));
  // Near the right edge the view is pushed back: 100 x 80 at zoom 100 about x 990.
  EXPECT_EQ(ZoomedView(ViewRect{960, 0, 1020, 40}, 1000, 500, 100, 80, 100), (ViewRect{900, 0, 1000, 80}));
}

TEST(PannedView, FollowsThePointerAndStopsAtTheEdges) {
  const ViewRect view{100, 100, 200, 180};
  // 10 pixels right at zoom 50 moves the view 20 pixels left.
  EXPECT_EQ(PannedView(view, 1000, 500, 50, 10, 0), (ViewRect{80, 100, 180, 180}));
  // Down by 3 at zoom 100: oy = -3, the view moves 3 stored rows up.
  EXPECT_EQ(PannedView(view, 1000, 500, 100, 0, 3), (ViewRect{100, 103, 200, 183}));
  EXPECT_EQ(PannedView(ViewRect{10, 0, 110, 80}, 1000, 500, 50, 10, 0), (ViewRect{0, 0, 100, 80}));
  EXPECT_EQ(PannedView(ViewRect{900, 420, 1000, 500}, 1000, 500, 100, -5, 5), (ViewRect{900, 420, 1000, 500}));
}

}  // namespace
