// The tone, colour and filter dialogs through GetFxParam, one table of openings per dialog.
#include <gtest/gtest.h>

#include "dialog_steps.h"
#include "fxui.h"
#include "resources/resource.h"

namespace {

TEST(HueSaturationDialog, Table) {
  RunOpenings({
      {EFFECT_HUE_SATURATION, kColour, {7, 7},
       {Field(0, 0), Field(1, 0), Text(IDC_LABEL_2, "0"),  // the template's text until the first move
        Scroll(IDC_SLIDER_2, SB_LEFT), Text(IDC_LABEL_2, "-100%"), Field(1, 100),
        Scroll(IDC_SLIDER_2, SB_RIGHT), Text(IDC_LABEL_2, "100%"), Field(1, -100),
        Scroll(IDC_SLIDER_2, SB_THUMBPOSITION, 100), Text(IDC_LABEL_2, "0%"), Field(1, 0),
        Scroll(IDC_SLIDER_1, SB_PAGERIGHT), Text(IDC_LABEL_1, "30"), Scroll(IDC_SLIDER_2, SB_PAGELEFT),
        Text(IDC_LABEL_2, "-20%"), AfterShowsEffect(), Click(IDOK)},
       1, {30, 20}},
      {EFFECT_HUE_SATURATION, kColour, {30, 20},
       {Position(IDC_SLIDER_1, 180), Position(IDC_SLIDER_2, 100), Scroll(IDC_SLIDER_1, SB_LEFT), Click(IDCANCEL)},
       0, {-180, 0}},
  });
}

TEST(ColorReductionDialog, Table) {
  RunOpenings({
      {EFFECT_COLOR_REDUCTION, kColour, {1, 99},
       {Field(1, 8), Text(IDC_LABEL_1, "8"), Position(IDC_SLIDER_1, 8), Checked(IDC_CHANNEL_RGB, true), Field(0, 0),
        Scroll(IDC_SLIDER_1, SB_PAGERIGHT), Text(IDC_LABEL_1, "24"), Scroll(IDC_SLIDER_1, SB_LEFT),
        Text(IDC_LABEL_1, "2"), Click(IDC_CHANNEL_B), Field(0, 3), Scroll(IDC_SLIDER_1, SB_PAGERIGHT),
        AfterShowsEffect(), Click(IDOK)},
       1, {3, 18}},
      // A grey picture: no channel to choose, the host's channel stays.
      {EFFECT_COLOR_REDUCTION, kGrey, {2, 50},
       {Enabled(IDC_CHANNEL_RGB, false), Enabled(IDC_CHANNEL_R, false), Enabled(IDC_CHANNEL_B, false),
        Checked(IDC_CHANNEL_RGB, false), Text(IDC_CHANNEL_RGB, "RGB"), Field(0, 2), AfterShowsEffect(),
        Click(IDCANCEL)},
       0, {2, 8}},
  });
}

TEST(ThresholdDialog, Table) {
  RunOpenings({
      {EFFECT_THRESHOLD, kColour, {77},
       {Text(IDC_LABEL_1, "128"), Field(0, 128), Scroll(IDC_SLIDER_1, SB_THUMBTRACK, 250), Text(IDC_LABEL_1, "250"),
        Scroll(IDC_SLIDER_1, SB_PAGERIGHT), Text(IDC_LABEL_1, "255"), Field(0, 255),
        Scroll(IDC_SLIDER_1, SB_LINERIGHT), Scroll(IDC_SLIDER_1, SB_PAGELEFT), Text(IDC_LABEL_1, "239"),
        AfterShowsEffect(), Click(IDOK)},
       1, {239}},
      {EFFECT_THRESHOLD, kColour, {239}, {Position(IDC_SLIDER_1, 128), Click(IDCANCEL)}, 0, {128}},
  });
}

TEST(FilterSizeDialog, Table) {
  RunOpenings({
      {EFFECT_MAXIMUM_MINIMUM, kColour, {9, 1},
       {Text(0, "Maximum"), Field(0, 3), Text(IDC_SIZE_LABEL, "3"), Scroll(IDC_SIZE_SLIDER, SB_LINERIGHT),
        Text(IDC_SIZE_LABEL, "4"), AfterShowsEffect(), Click(IDOK)},
       1, {4, 1}},
      {EFFECT_MAXIMUM_MINIMUM, kColour, {9, 0},
       {Text(0, "Minimum"), Field(0, 3), Scroll(IDC_SIZE_SLIDER, SB_RIGHT), Text(IDC_SIZE_LABEL, "32"),
        AfterShowsEffect(), Click(IDCANCEL)},
       0, {32, 0}},
      {EFFECT_AVERAGE, kColour, {20},
       {Text(0, "Average"), Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), AfterShowsEffect(), Click(IDOK)}, 1, {7}},
      {EFFECT_GAUSSIAN_BLUR, kColour, {20}, {Text(0, "Gaussian Blur"), AfterShowsEffect(), Click(IDOK)}, 1, {3}},
      {EFFECT_MEDIAN, kColour, {20},
       {Text(0, "Median"), Scroll(IDC_SIZE_SLIDER, SB_LEFT), AfterShowsEffect(), Click(IDOK)}, 1, {2}},
  });
}

TEST(UnsharpMaskDialog, Table) {
  RunOpenings({
      {EFFECT_UNSHARP_MASK, kColour, {0, 0, 0},
       {Text(IDC_UNSHARP_SIZE_LABEL, "3"), Text(IDC_UNSHARP_EFFECT_LABEL, "100"), Text(IDC_UNSHARP_THRESHOLD_LABEL, "0"),
        Field(0, 3), Field(1, 100), Field(2, 0), Scroll(IDC_UNSHARP_SIZE, SB_PAGERIGHT),
        Scroll(IDC_UNSHARP_EFFECT, SB_PAGELEFT), Scroll(IDC_UNSHARP_THRESHOLD, SB_THUMBPOSITION, 10),
        Text(IDC_UNSHARP_SIZE_LABEL, "7"), Text(IDC_UNSHARP_EFFECT_LABEL, "90"), Text(IDC_UNSHARP_THRESHOLD_LABEL, "10"),
        AfterShowsEffect(), Click(IDOK)},
       1, {7, 90, 10}},
      {EFFECT_UNSHARP_MASK, kColour, {7, 90, 10}, {Position(IDC_UNSHARP_SIZE, 3), Click(IDCANCEL)}, 0, {3, 100, 0}},
  });
}

TEST(FindContourDialog, Table) {
  RunOpenings({
      {EFFECT_FIND_CONTOUR, kColour, {0, 2, 7},
       {Field(0, 1), Field(1, 0), Field(2, 128), Text(IDC_CONTOUR_LABEL, "128"), Scroll(IDC_CONTOUR_SLIDER, SB_RIGHT),
        Text(IDC_CONTOUR_LABEL, "254"), Click(IDC_CHANNEL_R), Field(1, 1), Scroll(IDC_CONTOUR_SLIDER, SB_PAGELEFT),
        Text(IDC_CONTOUR_LABEL, "238"), AfterShowsEffect(), Click(IDOK)},
       1, {1, 1, 238}},
      {EFFECT_FIND_CONTOUR, kGrey, {0, 2, 7},
       {Text(IDC_CHANNEL_RGB, "Gray"), Enabled(IDC_CHANNEL_G, false), Scroll(IDC_CONTOUR_SLIDER, SB_PAGELEFT),
        AfterShowsEffect(), Click(IDCANCEL)},
       0, {1, 0, 112}},
  });
}

TEST(SketchDialog, Table) {
  RunOpenings({
      {EFFECT_SKETCH, kColour, {0, 9},
       {Checked(IDC_SKETCH_CRAYON, true), Field(0, 1), Field(1, 0), Text(IDC_LABEL_1, "0"),
        Scroll(IDC_SLIDER_1, SB_PAGERIGHT), Text(IDC_LABEL_1, "16"), Click(IDC_SKETCH_PENCIL), Field(0, 2),
        AfterShowsEffect(), Click(IDOK)},
       1, {2, 16}},
      // A grey picture is drawn in pencil only.
      {EFFECT_SKETCH, kGrey, {1, 9},
       {Checked(IDC_SKETCH_PENCIL, true), Enabled(IDC_SKETCH_CRAYON, false), Field(0, 2), AfterShowsEffect(),
        Click(IDOK)},
       1, {2, 0}},
  });
}

}  // namespace
