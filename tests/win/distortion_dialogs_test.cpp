// The distortion and artistic dialogs through GetFxParam, one table of openings per dialog.
// Openings follow each other, so a table also checks what a dialog remembers.
#include <gtest/gtest.h>

#include "dialog_steps.h"
#include "fxui.h"
#include "resources/resource.h"

namespace {

TEST(IntensityDialog, Table) {
  RunOpenings({
      {EFFECT_OIL_PAINTING, kColour, {0},
       {Text(0, "Oil Painting"), Field(0, 2), Text(IDC_INTENSITY_LABEL, "2"), Scroll(IDC_INTENSITY_SLIDER, SB_PAGERIGHT),
        Text(IDC_INTENSITY_LABEL, "4"), Scroll(IDC_INTENSITY_SLIDER, SB_RIGHT), Scroll(IDC_INTENSITY_SLIDER, SB_PAGERIGHT),
        Text(IDC_INTENSITY_LABEL, "15"), Scroll(IDC_INTENSITY_SLIDER, SB_PAGELEFT), AfterShowsEffect(), Click(IDOK)},
       1, {13}},
      {EFFECT_FILM_GRAIN, kColour, {7},
       {Text(0, "Film Grain"), Field(0, 50), Scroll(IDC_INTENSITY_SLIDER, SB_PAGERIGHT), Text(IDC_INTENSITY_LABEL, "60"),
        AfterShowsEffect(), Click(IDOK)},
       1, {60}},
      {EFFECT_FISHEYE, kColour, {7},
       {Text(0, "Fisheye"), Scroll(IDC_INTENSITY_SLIDER, SB_RIGHT), AfterShowsEffect(), Click(IDCANCEL)}, 0, {100}},
      {EFFECT_AUTO_ENHANCE, kColour, {7}, {Text(0, "Auto Enhance"), Click(IDOK)}, 1, {50}},
      {EFFECT_SPIRAL, kColour, {7}, {Text(0, "Spiral"), Scroll(IDC_INTENSITY_SLIDER, SB_LEFT), Click(IDOK)}, 1, {1}},
  });
}

TEST(GridDialog, Table) {
  RunOpenings({
      {EFFECT_3D_GRID, kColour, {9, 9, 9},
       {Checked(IDC_GRID_LARGE, true), Field(0, 3), Field(1, 0), Field(2, 0), Click(IDC_GRID_MEDIUM), Field(0, 1),
        Click(IDC_GRID_SMALL), Field(0, 2), Checked(IDC_GRID_HIGH, true), Click(IDC_GRID_LOW), Field(1, 2),
        Click(IDC_GRID_MEDIUM_HEIGHT), Field(1, 1), Click(IDC_GRID_IRREGULAR), Field(2, 1), AfterShowsEffect(),
        Click(IDOK)},
       1, {2, 1, 1}},
      {EFFECT_3D_GRID, kColour, {2, 1, 1}, {Checked(IDC_GRID_IRREGULAR, false), Click(IDCANCEL)}, 0, {3, 0, 0}},
  });
}

TEST(MosaicDialog, Table) {
  RunOpenings({
      {EFFECT_MOSAIC, kColour, {0, 0},
       {Checked(IDC_MOSAIC_SQUARE, true), Field(0, 5), Field(1, 5), Text(IDC_MOSAIC_HEIGHT_LABEL, "5"),
        Scroll(IDC_MOSAIC_WIDTH, SB_THUMBTRACK, 12), Field(1, 12), Text(IDC_MOSAIC_HEIGHT_LABEL, "12"),
        Position(IDC_MOSAIC_HEIGHT, 12), Click(IDC_MOSAIC_SQUARE), Checked(IDC_MOSAIC_SQUARE, false),
        Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT), Scroll(IDC_MOSAIC_HEIGHT, SB_LINERIGHT),
        Scroll(IDC_MOSAIC_HEIGHT, SB_LINERIGHT), Scroll(IDC_MOSAIC_HEIGHT, SB_LINERIGHT), Field(0, 12), Field(1, 20),
        Click(IDC_MOSAIC_SQUARE), Field(1, 12), Position(IDC_MOSAIC_HEIGHT, 12), Text(IDC_MOSAIC_HEIGHT_LABEL, "12"),
        Scroll(IDC_MOSAIC_WIDTH, SB_PAGERIGHT), Field(1, 17), Scroll(IDC_MOSAIC_WIDTH, SB_RIGHT), Field(0, 17),
        Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT), Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT),
        Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT), Text(IDC_MOSAIC_WIDTH_LABEL, "32"), AfterShowsEffect(),
        Click(IDC_MOSAIC_SQUARE), Click(IDCANCEL)},
       0, {32, 32}},
      // "Square" stays off after the cancelled opening: the height keeps its value.
      {EFFECT_MOSAIC, kColour, {0, 0},
       {Checked(IDC_MOSAIC_SQUARE, false), Scroll(IDC_MOSAIC_WIDTH, SB_LINELEFT), Field(1, 5),
        Click(IDC_MOSAIC_SQUARE), Click(IDOK)},
       1, {4, 4}},
      {EFFECT_MOSAIC, kColour, {0, 0}, {Checked(IDC_MOSAIC_SQUARE, true), Click(IDCANCEL)}, 0, {5, 5}},
  });
}

TEST(MotionBlurDialog, Table) {
  RunOpenings({
      {EFFECT_MOTION_BLUR, kColour, {0, 0},
       {Field(0, 4), Field(1, 10), Text(IDC_SIZE_LABEL, "10"), Focus(IDC_DIRECTION_5), Inverted(IDC_DIRECTION_5, true),
        Inverted(IDC_DIRECTION_4, false), Click(IDC_DIRECTION_2), Field(0, 2), Inverted(IDC_DIRECTION_2, true),
        Inverted(IDC_DIRECTION_5, false), Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), Text(IDC_SIZE_LABEL, "15"),
        AfterShowsEffect(), Click(IDCANCEL)},
       0, {2, 15}},
      // Cancel kept the remembered button; OK makes the clicked one remembered.
      {EFFECT_MOTION_BLUR, kColour, {0, 0}, {Focus(IDC_DIRECTION_5), Click(IDC_DIRECTION_7), Click(IDOK)}, 1, {7, 10}},
      {EFFECT_MOTION_BLUR, kColour, {0, 0},
       {Focus(IDC_DIRECTION_7), Inverted(IDC_DIRECTION_7, true), Field(0, 4), Click(IDOK)}, 1, {4, 10}},
  });
}

TEST(EmbossDialog, Table) {
  RunOpenings({
      {EFFECT_EMBOSS, kColour, {0, 0, 0, 0x123456},
       {Field(0, 5), Field(1, 3), Field(2, 2), Field(3, 0), Checked(IDC_EMBOSS_GRAY, true), Focus(IDC_DIRECTION_8),
        Inverted(IDC_DIRECTION_8, true), Click(IDC_DIRECTION_6), Field(0, 6), Click(IDC_EMBOSS_MIDTONE), Field(1, 2),
        Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), Text(IDC_SIZE_LABEL, "4"), Scroll(IDC_SIZE_SLIDER, SB_RIGHT),
        Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), Text(IDC_SIZE_LABEL, "10"), AfterShowsEffect(), Click(IDOK)},
       1, {6, 2, 10, 0}},
      {EFFECT_EMBOSS, kColour, {0, 0, 0, 0},
       {Focus(IDC_DIRECTION_6), Inverted(IDC_DIRECTION_6, true), Inverted(IDC_DIRECTION_8, false), Field(0, 5),
        Click(IDC_EMBOSS_ACTIVE), Field(1, 4), Click(IDCANCEL)},
       0, {5, 4, 2, 0}},
  });
}

TEST(RibbonDialog, Table) {
  RunOpenings({
      {EFFECT_RIBBON, kColour, {0, 0, 0xFFFFFF},
       {Field(0, 25), Field(1, 25), Field(2, 0), Text(IDC_RIBBON_AMPLITUDE_LABEL, "25"),
        Scroll(IDC_RIBBON_FREQUENCY, SB_PAGERIGHT), Scroll(IDC_RIBBON_AMPLITUDE, SB_PAGELEFT),
        Text(IDC_RIBBON_FREQUENCY_LABEL, "35"), Text(IDC_RIBBON_AMPLITUDE_LABEL, "15"), AfterShowsEffect(),
        Click(IDOK)},
       1, {35, 15, 0}},
      {EFFECT_RIBBON, kColour, {35, 15, 0}, {Position(IDC_RIBBON_FREQUENCY, 25), Click(IDCANCEL)}, 0, {25, 25, 0}},
  });
}

}  // namespace
