// The dialogs built from one description table each, through GetFxParam: one table of openings
// for all of them, and the framework around every dialog (zoom and panning of the previews,
// the answer without a record, the background values, the module entry). The slider handling
// they share is played through in the Tone Adjustment table; here each dialog's own ranges,
// page steps, labels, record fields, defaults, gray rules and remembered values.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "dialog_steps.h"
#include "fxui.h"
#include "image/host_image.h"
#include "preview/preview_control.h"
#include "preview/view_geometry.h"
#include "resources/resource.h"
#include "test_images.h"
#include "wine_probe.h"

namespace {

// Openings of one dialog follow each other, so the table also checks what a dialog remembers.
TEST(TableDialogs, Openings) {
  RunOpenings({
      // Brightness and contrast: written at start; SB_ENDSCROLL and above move nothing.
      {EFFECT_BRIGHTNESS_CONTRAST, kColour, {9, 99, 99},
       {Text(0, "Brightness and Contrast"), Fields(0, {0, 0, 0}), Zooms(true), Scroll(IDC_SLIDER_1, SB_LINERIGHT),
        Scroll(IDC_SLIDER_2, SB_PAGELEFT), Click(IDC_CHANNEL_G), Text(IDC_LABEL_1, "1"), Text(IDC_LABEL_2, "-16"),
        Scroll(IDC_SLIDER_1, SB_ENDSCROLL, 200), Scroll(IDC_SLIDER_1, 9, 200), Field(1, 1), Text(IDC_LABEL_1, "1"),
        AfterShowsEffect(), Click(IDOK)},
       1, {2, 1, -16}},
      // Back at the centre at the next opening; Cancel keeps what the dialog wrote.
      {EFFECT_BRIGHTNESS_CONTRAST, kColour, {1, 50, 50},
       {Position(IDC_SLIDER_1, 128), Text(IDC_LABEL_2, "0"), Scroll(IDC_SLIDER_1, SB_THUMBTRACK, 255),
        Scroll(IDC_SLIDER_2, SB_LEFT), Text(IDC_LABEL_1, "127"), Text(IDC_LABEL_2, "-128"), Click(IDCANCEL)},
       0, {0, 127, -128}},
      {EFFECT_BRIGHTNESS_CONTRAST, kGrey, {3, 0, 0},
       {Text(IDC_CHANNEL_RGB, "Gray"), Enabled(IDC_CHANNEL_RGB, true), Enabled(IDC_CHANNEL_R, false),
        Enabled(IDC_CHANNEL_B, false), Scroll(IDC_SLIDER_1, SB_PAGERIGHT), AfterShowsEffect(), Click(IDOK)},
       1, {0, 16, 0}},
      // Hue and saturation: the label keeps the template's text until the first move; the
      // stored saturation has the opposite sign of the one shown.
      {EFFECT_HUE_SATURATION, kColour, {7, 7},
       {Fields(0, {0, 0}), Text(IDC_LABEL_2, "0"), Scroll(IDC_SLIDER_2, SB_LEFT), Text(IDC_LABEL_2, "-100%"),
        Field(1, 100), Scroll(IDC_SLIDER_1, SB_PAGERIGHT), Text(IDC_LABEL_1, "30"), Scroll(IDC_SLIDER_2, SB_PAGERIGHT),
        Text(IDC_LABEL_2, "-80%"), AfterShowsEffect(), Click(IDOK)},
       1, {30, 80}},
      {EFFECT_HUE_SATURATION, kColour, {30, 20},
       {Position(IDC_SLIDER_1, 180), Position(IDC_SLIDER_2, 100), Scroll(IDC_SLIDER_1, SB_LEFT), Click(IDCANCEL)},
       0, {-180, 0}},
      {EFFECT_COLOR_REDUCTION, kColour, {1, 99},
       {Fields(0, {0, 8}), Text(IDC_LABEL_1, "8"), Position(IDC_SLIDER_1, 8), Scroll(IDC_SLIDER_1, SB_LEFT),
        Text(IDC_LABEL_1, "2"), Click(IDC_CHANNEL_B), Scroll(IDC_SLIDER_1, SB_PAGERIGHT), AfterShowsEffect(),
        Click(IDOK)},
       1, {3, 18}},
      // A grey picture: no channel to choose, the host's channel stays.
      {EFFECT_COLOR_REDUCTION, kGrey, {2, 50},
       {Enabled(IDC_CHANNEL_RGB, false), Enabled(IDC_CHANNEL_B, false), Text(IDC_CHANNEL_RGB, "RGB"),
        AfterShowsEffect(), Click(IDCANCEL)},
       0, {2, 8}},
      {EFFECT_THRESHOLD, kColour, {77},
       {Text(IDC_LABEL_1, "128"), Field(0, 128), Scroll(IDC_SLIDER_1, SB_RIGHT), Text(IDC_LABEL_1, "255"),
        Scroll(IDC_SLIDER_1, SB_PAGELEFT), Text(IDC_LABEL_1, "239"), AfterShowsEffect(), Click(IDOK)},
       1, {239}},
      {EFFECT_THRESHOLD, kColour, {239}, {Position(IDC_SLIDER_1, 128), Click(IDCANCEL)}, 0, {128}},
      // The filter-size dialog, titled after its effect; effect 20 by the record's second word.
      {EFFECT_MAXIMUM_MINIMUM, kColour, {9, 1},
       {Text(0, "Maximum"), Field(0, 3), Text(IDC_SIZE_LABEL, "3"), AfterShowsEffect(), Click(IDOK)}, 1, {3, 1}},
      {EFFECT_MAXIMUM_MINIMUM, kColour, {9, 0},
       {Text(0, "Minimum"), Scroll(IDC_SIZE_SLIDER, SB_RIGHT), Text(IDC_SIZE_LABEL, "32"), AfterShowsEffect(),
        Click(IDCANCEL)},
       0, {32, 0}},
      {EFFECT_AVERAGE, kColour, {20},
       {Text(0, "Average"), Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), AfterShowsEffect(), Click(IDOK)}, 1, {7}},
      {EFFECT_GAUSSIAN_BLUR, kColour, {20}, {Text(0, "Gaussian Blur"), AfterShowsEffect(), Click(IDOK)}, 1, {3}},
      {EFFECT_MEDIAN, kColour, {20},
       {Text(0, "Median"), Scroll(IDC_SIZE_SLIDER, SB_LEFT), AfterShowsEffect(), Click(IDOK)}, 1, {2}},
      {EFFECT_UNSHARP_MASK, kColour, {0, 0, 0},
       {Fields(0, {3, 100, 0}), Text(IDC_UNSHARP_EFFECT_LABEL, "100"), Scroll(IDC_UNSHARP_SIZE, SB_PAGERIGHT),
        Scroll(IDC_UNSHARP_EFFECT, SB_PAGELEFT), Scroll(IDC_UNSHARP_THRESHOLD, SB_PAGERIGHT),
        Text(IDC_UNSHARP_SIZE_LABEL, "7"), Text(IDC_UNSHARP_EFFECT_LABEL, "90"), Text(IDC_UNSHARP_THRESHOLD_LABEL, "16"),
        AfterShowsEffect(), Click(IDOK)},
       1, {7, 90, 16}},
      {EFFECT_UNSHARP_MASK, kColour, {7, 90, 10}, {Position(IDC_UNSHARP_SIZE, 3), Click(IDCANCEL)}, 0, {3, 100, 0}},
      {EFFECT_FIND_CONTOUR, kColour, {0, 2, 7},
       {Fields(0, {1, 0, 128}), Text(IDC_CONTOUR_LABEL, "128"), Scroll(IDC_CONTOUR_SLIDER, SB_RIGHT),
        Text(IDC_CONTOUR_LABEL, "254"), Click(IDC_CHANNEL_R), AfterShowsEffect(), Click(IDOK)},
       1, {1, 1, 254}},
      {EFFECT_FIND_CONTOUR, kGrey, {0, 2, 7},
       {Text(IDC_CHANNEL_RGB, "Gray"), Enabled(IDC_CHANNEL_G, false), Scroll(IDC_CONTOUR_SLIDER, SB_PAGELEFT),
        AfterShowsEffect(), Click(IDCANCEL)},
       0, {1, 0, 112}},
      {EFFECT_SKETCH, kColour, {0, 9},
       {Fields(0, {1, 0}), Text(IDC_LABEL_1, "0"), Scroll(IDC_SLIDER_1, SB_PAGERIGHT), Text(IDC_LABEL_1, "16"),
        Click(IDC_SKETCH_PENCIL), AfterShowsEffect(), Click(IDOK)},
       1, {2, 16}},
      // A grey picture is drawn in pencil only.
      {EFFECT_SKETCH, kGrey, {1, 9},
       {Checked(IDC_SKETCH_PENCIL, true), Enabled(IDC_SKETCH_CRAYON, false), AfterShowsEffect(), Click(IDOK)},
       1, {2, 0}},
      // The intensity dialog, titled after its effect; oil painting has a shorter range. The
      // geometric distortions show the whole picture: no zoom buttons, no panning.
      {EFFECT_OIL_PAINTING, kColour, {0},
       {Text(0, "Oil Painting"), Zooms(true), Text(IDC_INTENSITY_LABEL, "2"), Scroll(IDC_INTENSITY_SLIDER, SB_RIGHT),
        Text(IDC_INTENSITY_LABEL, "15"), Scroll(IDC_INTENSITY_SLIDER, SB_PAGELEFT), AfterShowsEffect(), Click(IDOK)},
       1, {13}},
      {EFFECT_FILM_GRAIN, kColour, {7},
       {Text(0, "Film Grain"), Field(0, 50), Scroll(IDC_INTENSITY_SLIDER, SB_PAGERIGHT),
        Text(IDC_INTENSITY_LABEL, "60"), AfterShowsEffect(), Click(IDOK)},
       1, {60}},
      {EFFECT_FISHEYE, kColour, {7},
       {Text(0, "Fisheye"), Zooms(false), Scroll(IDC_INTENSITY_SLIDER, SB_RIGHT), AfterShowsEffect(), Click(IDCANCEL)},
       0, {100}},
      {EFFECT_AUTO_ENHANCE, kColour, {7}, {Text(0, "Auto Enhance"), Click(IDOK)}, 1, {50}},
      {EFFECT_SPIRAL, kColour, {7},
       {Text(0, "Spiral"), Zooms(false), Scroll(IDC_INTENSITY_SLIDER, SB_LEFT), Click(IDOK)}, 1, {1}},
      {EFFECT_CONE, kColour, {7}, {Text(0, "Cone"), Zooms(false)}, 0, {50}},
      {EFFECT_WHIRLPOOL, kColour, {7}, {Text(0, "Whirlpool"), Zooms(false)}, 0, {50}},
      {EFFECT_3D_GRID, kColour, {9, 9, 9},
       {Fields(0, {3, 0, 0}), Click(IDC_GRID_MEDIUM), Field(0, 1), Click(IDC_GRID_SMALL), Click(IDC_GRID_LOW),
        Field(1, 2), Click(IDC_GRID_MEDIUM_HEIGHT), Click(IDC_GRID_IRREGULAR), AfterShowsEffect(), Click(IDOK)},
       1, {2, 1, 1}},
      {EFFECT_3D_GRID, kColour, {2, 1, 1}, {Checked(IDC_GRID_IRREGULAR, false), Click(IDCANCEL)}, 0, {3, 0, 0}},
      // Mosaic: with "Square" on, the sliders move together (the thumb copies the value, the
      // ends move nothing); "Square" is remembered also after Cancel.
      {EFFECT_MOSAIC, kColour, {0, 0},
       {Checked(IDC_MOSAIC_SQUARE, true), Fields(0, {5, 5}), Text(IDC_MOSAIC_HEIGHT_LABEL, "5"), Zooms(true),
        Scroll(IDC_MOSAIC_WIDTH, SB_THUMBTRACK, 12), Field(1, 12), Text(IDC_MOSAIC_HEIGHT_LABEL, "12"),
        Position(IDC_MOSAIC_HEIGHT, 12), Click(IDC_MOSAIC_SQUARE),
        Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT), Scroll(IDC_MOSAIC_HEIGHT, SB_LINERIGHT), Fields(0, {12, 18}),
        Click(IDC_MOSAIC_SQUARE), Field(1, 12), Position(IDC_MOSAIC_HEIGHT, 12), Scroll(IDC_MOSAIC_WIDTH, SB_PAGERIGHT),
        Field(1, 17), Scroll(IDC_MOSAIC_WIDTH, SB_RIGHT), Field(0, 17), Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT),
        Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT), Scroll(IDC_MOSAIC_HEIGHT, SB_PAGERIGHT),
        Text(IDC_MOSAIC_WIDTH_LABEL, "32"), AfterShowsEffect(), Click(IDC_MOSAIC_SQUARE), Click(IDCANCEL)},
       0, {32, 32}},
      {EFFECT_MOSAIC, kColour, {0, 0},
       {Checked(IDC_MOSAIC_SQUARE, false), Scroll(IDC_MOSAIC_WIDTH, SB_LINELEFT), Field(1, 5),
        Click(IDC_MOSAIC_SQUARE), Click(IDOK)},
       1, {4, 4}},
      {EFFECT_MOSAIC, kColour, {0, 0}, {Checked(IDC_MOSAIC_SQUARE, true), Click(IDCANCEL)}, 0, {5, 5}},
      // The direction buttons: the current one has the focus and is drawn inverted; the button
      // clicked becomes the remembered one on OK only.
      {EFFECT_MOTION_BLUR, kColour, {0, 0},
       {Fields(0, {4, 10}), Text(IDC_SIZE_LABEL, "10"), Focus(IDC_DIRECTION_5), Inverted(IDC_DIRECTION_5, true),
        Click(IDC_DIRECTION_2), Inverted(IDC_DIRECTION_2, true), Inverted(IDC_DIRECTION_5, false),
        Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), Text(IDC_SIZE_LABEL, "15"), AfterShowsEffect(), Click(IDCANCEL)},
       0, {2, 15}},
      {EFFECT_MOTION_BLUR, kColour, {0, 0}, {Focus(IDC_DIRECTION_5), Click(IDC_DIRECTION_7), Click(IDOK)}, 1, {7, 10}},
      {EFFECT_MOTION_BLUR, kColour, {0, 0}, {Focus(IDC_DIRECTION_7), Inverted(IDC_DIRECTION_7, true), Click(IDOK)},
       1, {4, 10}},
      {EFFECT_EMBOSS, kColour, {0, 0, 0, 0x123456},
       {Fields(0, {5, 3, 2, 0}), Focus(IDC_DIRECTION_8), Click(IDC_DIRECTION_6), Click(IDC_EMBOSS_MIDTONE),
        Scroll(IDC_SIZE_SLIDER, SB_PAGERIGHT), Text(IDC_SIZE_LABEL, "4"), Scroll(IDC_SIZE_SLIDER, SB_RIGHT),
        Text(IDC_SIZE_LABEL, "10"), AfterShowsEffect(), Click(IDOK)},
       1, {6, 2, 10, 0}},
      {EFFECT_EMBOSS, kColour, {0, 0, 0, 0}, {Focus(IDC_DIRECTION_6), Click(IDC_EMBOSS_ACTIVE), Click(IDCANCEL)},
       0, {5, 4, 2, 0}},
      {EFFECT_RIBBON, kColour, {0, 0, 0xFFFFFF},
       {Fields(0, {25, 25, 0}), Text(IDC_RIBBON_AMPLITUDE_LABEL, "25"), Zooms(false),
        Scroll(IDC_RIBBON_FREQUENCY, SB_PAGERIGHT), Scroll(IDC_RIBBON_AMPLITUDE, SB_PAGELEFT),
        Text(IDC_RIBBON_FREQUENCY_LABEL, "35"), Text(IDC_RIBBON_AMPLITUDE_LABEL, "15"), AfterShowsEffect(), Click(IDOK)},
       1, {35, 15, 0}},
      {EFFECT_RIBBON, kColour, {35, 15, 0}, {Position(IDC_RIBBON_FREQUENCY, 25), Click(IDCANCEL)}, 0, {25, 25, 0}},
  });
}

ViewRect Visible(const PreviewState* state) {
  return {state->view.viewLeft, state->view.viewTop, state->view.viewRight, state->view.viewBottom};
}

// A 300 x 200 picture does not fit the preview at 100 %: it starts at the smallest zoom.
TEST(Framework, ZoomingAndPanningTheBeforePreviewMovesBoth) {
  HGLOBAL image = MakeRgbDib(300, 200, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 90}; });
  HGLOBAL host = MakeHostImage(300, 200, {{image, MakeGreyDib(300, 200, [](int, int) { return uint8_t{255}; })}}, 0);
  int record[64] = {};
  int first = 0, minimum = 0, afterMinus = 0, zoomed[2] = {}, panZoom = 0;
  ViewRect start{}, moved{}, twin{};
  DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, record); },
              [&](HWND dialog) {
                PreviewState* before = PreviewOf(dialog, IDC_PREVIEW_BEFORE);
                const PreviewState* after = PreviewOf(dialog, IDC_PREVIEW_AFTER);
                first = before->view.zoom;
                minimum = before->minZoom;
                SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_OUT, 0);  // at the minimum: nothing
                afterMinus = before->view.zoom;
                SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
                zoomed[0] = before->view.zoom;
                zoomed[1] = after->view.zoom;
                SendMessageA(before->window, WM_COMMAND, IDC_ZOOM_IN, 0);
                panZoom = before->view.zoom;
                start = Visible(before);
                SendMessageA(before->display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
                SendMessageA(before->display, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 30));
                SendMessageA(before->display, WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
                moved = Visible(before);
                twin = Visible(after);
                ClickButton(dialog, IDOK);
              });
  EXPECT_EQ(first, minimum);
  EXPECT_LT(first, 100);
  EXPECT_EQ(afterMinus, first);
  EXPECT_EQ(zoomed[0], ZoomStep(first, ZoomDirection::kIn));
  EXPECT_EQ(zoomed[1], zoomed[0]);
  EXPECT_EQ(moved, PannedView(start, 300, 200, panZoom, 10, 0));
  EXPECT_LT(moved.left, start.left) << "dragging right shows what lies to the left";
  EXPECT_EQ(twin, moved);
  EXPECT_EQ(GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, nullptr), -2) << "no record to fill";
  EXPECT_EQ(GetFxParam(EFFECT_SOFTEN, nullptr, host, record), -2) << "no dialog, even with a picture";
  FreeHostImage(host);
}

TEST(Framework, BackgroundValuesReachTheImagingLibrary) {
  SKIP_UNLESS(PixelsReadable(), "the preview display's pixels");
  // A 20 x 10 picture sits in the middle of the display; the rest of the composed picture is
  // the background, here squares of 4 pixels, red (COLORREF 0x000000FF) and blue.
  HGLOBAL image = MakeRgbDib(20, 10, [](int, int) { return Bgr{255, 255, 255}; });
  HGLOBAL host = MakeHostImage(20, 10, {{image, MakeGreyDib(20, 10, [](int, int) { return uint8_t{255}; })}}, 0);
  ASSERT_EQ(GetFxuiBackgroundSetting(4, 0x000000FF, 0x00FF0000), 1);
  BrightnessContrastParams params{};
  COLORREF first = 0, second = 0, centre = 0;
  DriveDialog([&] { return GetFxParam(EFFECT_BRIGHTNESS_CONTRAST, nullptr, host, &params); },
              [&](HWND dialog) {
                HWND display = PreviewOf(dialog, IDC_PREVIEW_BEFORE)->display;
                UpdateWindow(display);
                RECT client;
                GetClientRect(display, &client);
                HDC dc = GetDC(display);
                first = GetPixel(dc, 1, 1);
                second = GetPixel(dc, 5, 1);
                centre = GetPixel(dc, client.right / 2, client.bottom / 2);
                ReleaseDC(display, dc);
                ClickButton(dialog, IDOK);
              });
  EXPECT_EQ(first, RGB(255, 0, 0));
  EXPECT_EQ(second, RGB(0, 0, 255));
  EXPECT_EQ(centre, RGB(255, 255, 255));
  GetFxuiBackgroundSetting(0, 0, 0);
  FreeHostImage(host);
}

TEST(Framework, ModuleEntryAnswersOneWhenTheClassesExist) {
  HMODULE module = GetModuleHandleA("fxUi.dll");
  ASSERT_NE(module, nullptr);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  using Entry = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<const BYTE*>(module) + nt->OptionalHeader.AddressOfEntryPoint);
  WNDCLASSA existing;
  ASSERT_TRUE(GetClassInfoA(module, "previewwnd", &existing)) << "registered at load";
  EXPECT_EQ(entry(module, DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_TRUE(GetClassInfoA(module, "SubPreviewWnd", &existing));
}

}  // namespace
